// The start's data session and a window over it, for the suites that open one.
#include "test_support.h"

#include "store/settings_file.h"

OpenedWindow::OpenedWindow(const QString& programDirectory, Desktop& desktop)
    : session(OpenSession(desktop, programDirectory))
{
    if (session) {
        window = std::make_unique<Fm_Cofferly>(*session, desktop);
        window->ApplySettings(SettingsFile::Read(programDirectory));
    }
}

std::optional<DataSession> OpenedSession(const QString& programDirectory)
{
    auto opened = DataSession::Open(programDirectory, {0, 0}, QStringLiteral("新規グループ"), {});
    if (auto* session = std::get_if<DataSession>(&opened))
        return std::move(*session);
    return std::nullopt;
}
