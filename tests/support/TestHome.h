#pragma once

#include <QString>
#include <QTemporaryDir>

// A throw-away home: every XDG folder of the process points into a fresh temporary folder,
// so that no test reads or writes the real one. Make it before the application object.
class TestHome
{
public:
    TestHome();
    ~TestHome();
    TestHome(const TestHome &) = delete;
    TestHome &operator=(const TestHome &) = delete;

    QString path() const { return m_dir.path(); }
    QString configHome() const { return path() + QStringLiteral("/config"); }
    QString dataHome() const { return path() + QStringLiteral("/data"); }
    QString runtimeDir() const { return path() + QStringLiteral("/runtime"); }

private:
    QTemporaryDir m_dir;
};

// Like QTEST_MAIN, inside a private home.
#define LUMISERA_TEST_MAIN(TestObject)                                                                       \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        TestHome home;                                                                                       \
        QGuiApplication app(argc, argv);                                                                     \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }
