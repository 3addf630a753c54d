#pragma once

#include <QTemporaryDir>

// A private home for a benchmark, made before anything reads the environment: HOME and the XDG
// folders point into a temporary folder (mode 0700 each), so the real home is never touched.
// Gone, with everything stored there, when the object goes.
class BenchHome
{
public:
    explicit BenchHome(const QString &name);
    bool isValid() const { return m_valid; }
    QString filePath(const QString &name) const { return m_folder.filePath(name); }

private:
    QTemporaryDir m_folder;
    bool m_valid = false;
};
