#include "url_opener.h"

#include "hardening.h"
#include "resources/texts.h"

#include <QProcess>
#include <memory>

namespace {

// The opener's last words are enough to tell why it failed; a program it started in the
// foreground may go on writing for hours.
constexpr qsizetype kKeptOutput = 2000;
constexpr qsizetype kShownOutput = 600;

QString ExitReason(int code)
{
    // The exit codes xdg-open documents.
    switch (code) {
    case 1:
        return Texts::OpenerBadArguments;
    case 2:
        return Texts::OpenerNoSuchFile;
    case 3:
        return Texts::OpenerNoProgram;
    case 4:
        return Texts::OpenerActionFailed;
    default:
        return Texts::OpenerExitCode.arg(code);
    }
}

QString WithOutput(const QString& program, QString reason, const QByteArray& output)
{
    QString shown = QString::fromLocal8Bit(output).trimmed();
    if (shown.isEmpty())
        return reason;
    if (shown.size() > kShownOutput)
        shown = QStringLiteral("…") + shown.right(kShownOutput);
    return reason + QStringLiteral("\n\n") + Texts::OpenerOutput.arg(program, shown);
}

} // namespace

QProcess* StartOpener(const QString& program, const QString& target, const QObject* context,
                      std::function<void(const QString& reason)> failed)
{
    // No parent: the process object ends itself when the opener has finished, and one still
    // running when the program ends is left to finish its hand-over.
    auto* process = new QProcess;
    auto output = std::make_shared<QByteArray>();
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setChildProcessModifier(RestoreChildFileMask);

    QObject::connect(process, &QProcess::readyReadStandardOutput, process, [process, output] {
        output->append(process->readAllStandardOutput());
        if (output->size() > kKeptOutput)
            output->remove(0, output->size() - kKeptOutput);
    });
    // The process object goes when the opener has ended or could not start.
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             process->deleteLater();
                     });
    // The report goes only to a context that is still there.
    QObject::connect(process, &QProcess::errorOccurred, context,
                     [process, program, failed](QProcess::ProcessError error) {
                         // The end of an opener that did start is told by finished.
                         if (error == QProcess::FailedToStart)
                             failed(Texts::OpenerNotStarted.arg(program, process->errorString()));
                     });
    QObject::connect(process, &QProcess::finished, context,
                     [process, program, output, failed](int exitCode, QProcess::ExitStatus status) {
                         output->append(process->readAllStandardOutput());
                         if (status == QProcess::CrashExit)
                             failed(
                                 WithOutput(program, Texts::OpenerCrashed.arg(program), *output));
                         else if (exitCode != 0)
                             failed(WithOutput(program, ExitReason(exitCode), *output));
                     });
    process->start(program, {target});
    return process;
}
