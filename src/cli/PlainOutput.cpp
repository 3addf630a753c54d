#include "PlainOutput.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

PlainOutput::Placed placedOr(int error)
{
    return error == EEXIST ? PlainOutput::Placed::exists : PlainOutput::Placed::failed;
}

} // namespace

PlainOutput::PlainOutput(const QString &target) : m_target(target)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    m_fd = UniqueFd::unnamedFile(folder);
    if (m_fd.isValid())
        return;
    for (int attempt = 0; attempt < 8 && !m_fd.isValid(); ++attempt) {
        m_hidden = QFileInfo(target).absolutePath() + QStringLiteral("/.lumisera-get-") +
                   QString::number(QRandomGenerator::global()->generate64(), 16);
        // Registered before it exists, so that no moment leaves it behind.
        m_cleanup = std::make_unique<InterruptCleanup>(m_hidden);
        m_fd = UniqueFd(::open(QFile::encodeName(m_hidden).constData(),
                               O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!m_fd.isValid() && errno != EEXIST)
            break;
    }
    if (!m_fd.isValid()) {
        m_cleanup.reset();
        m_hidden.clear();
    }
}

PlainOutput::~PlainOutput()
{
    if (!m_hidden.isEmpty())
        ::unlink(QFile::encodeName(m_hidden).constData());
}

PlainOutput::Placed PlainOutput::place()
{
    if (::fsync(m_fd.get()) != 0)
        return Placed::failed;
    if (!m_hidden.isEmpty())
        return placeHidden();
    if (!m_fd.linkAs(QFile::encodeName(m_target)))
        return placedOr(errno);
    return Placed::done;
}

PlainOutput::Placed PlainOutput::placeHidden()
{
    const QByteArray hidden = QFile::encodeName(m_hidden);
    const QByteArray target = QFile::encodeName(m_target);
    if (::link(hidden.constData(), target.constData()) == 0)
        return Placed::done; // the destructor removes the hidden name
    if (errno == EEXIST)
        return Placed::exists;
    // No hard links here: a rename that refuses to replace.
    if (::renameat2(AT_FDCWD, hidden.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) != 0)
        return placedOr(errno);
    m_hidden.clear();
    return Placed::done;
}
