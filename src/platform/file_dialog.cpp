// The file dialog behind Desktop::ChooseFile.
#include "desktop.h"

#include <QDir>
#include <QFileDialog>

FileChoice Desktop::ChooseFile(QWidget* parent, const QString& title, const QStringList& filters,
                               bool save)
{
    QFileDialog dialog(parent, title, QDir::homePath());
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().front(),
            int(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))};
}
