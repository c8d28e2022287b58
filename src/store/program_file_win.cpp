#include "program_file.h"

#include <QDir>
#include <QFileInfo>

#include <qt_windows.h>
#include <vector>

ProgramFile LocateProgram()
{
    // Windows names files in UTF-16, which a QString holds as it is.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length == 0)
            return ProgramFile{{}, {}, false};
        if (length < buffer.size()) {
            const QString path = QDir::fromNativeSeparators(
                QString::fromWCharArray(buffer.data(), qsizetype(length)));
            return ProgramFile{path, QFileInfo(path).absolutePath(), true};
        }
        buffer.resize(buffer.size() * 2);
    }
}
