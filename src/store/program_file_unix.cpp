#include "program_file.h"

#include <QByteArray>
#include <QFile>

#include <unistd.h>

namespace {

// The program file's path as the kernel holds it; empty when it cannot be read.
QByteArray OwnPath()
{
    QByteArray buffer(4096, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), size_t(buffer.size()));
        if (length < 0)
            return {};
        if (length < buffer.size())
            return buffer.left(length);
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

ProgramFile LocateProgram()
{
    const QByteArray path = OwnPath();
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? path.left(slash) : QByteArray("/");
    ProgramFile program;
    program.path = QFile::decodeName(path);
    program.folder = QFile::decodeName(folder);
    program.nameShown = !path.isEmpty() && QFile::encodeName(program.path) == path;
    return program;
}
