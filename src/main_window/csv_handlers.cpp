// Exporting the entries to a CSV file and importing them from one: the menu's handlers
// hand the choice to the state, which decides; the files are read and written here.
#include "fm_cofferly.h"
#include "resources/csv_messages.h"
#include "resources/store_messages.h"
#include "resources/texts.h"
#include "store/csv_layouts.h"
#include "store/store_files.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

void Fm_Cofferly::menu_Export_Click()
{
    Carry(state_.CommandChosen(WindowCommand::Export));
}

void Fm_Cofferly::menu_Import_Click()
{
    Carry(state_.CommandChosen(WindowCommand::Import));
}

void Fm_Cofferly::ExportFile()
{
    // The filters' order is the layouts' order.
    const FileChoice choice =
        desktop_.ChooseFile(this, Texts::ExportDialogTitle,
                            {Texts::ExportKeePassXcFilter, Texts::ExportBitwardenFilter}, true);
    if (choice.path.isEmpty())
        return;
    if (IsOwnFile(choice.path))
        return desktop_.Tell(this, Texts::ExportOverOwnFile.arg(ShownPath(choice.path)),
                             QMessageBox::Warning);
    using Layout = CsvLayouts::Layout;
    const Layout layout = choice.filter == 1 ? Layout::Bitwarden : Layout::KeePassXC;
    if (const auto error = CsvLayouts::Export(choice.path, Table(), layout))
        return desktop_.Tell(this, CsvMessages::ExportFailed(*error), QMessageBox::Critical);
    const auto exported =
        std::count_if(Table().begin(), Table().end(), [](const Entry& e) { return !e.IsGroup(); });
    desktop_.Tell(this, Texts::Exported.arg(exported).arg(ShownPath(choice.path)),
                  QMessageBox::Information);
}

// The program's own files (the data file, its backup and kept versions, the lock) are
// never written over by an export.
bool Fm_Cofferly::IsOwnFile(const QString& path) const
{
    const QFileInfo file(path);
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    const QString programFolder = QFileInfo(session_.ProgramDirectory()).canonicalFilePath();
    const QString stem = QFileInfo(StoreFiles::Data).completeBaseName() + u'.';
    return !folder.isEmpty() && folder == programFolder &&
           file.fileName().startsWith(stem, Qt::CaseInsensitive);
}

void Fm_Cofferly::ImportFile()
{
    const FileChoice choice = desktop_.ChooseFile(
        this, Texts::ImportDialogTitle, {Texts::ImportCsvFilter, Texts::ImportAnyFilter}, false);
    if (choice.path.isEmpty())
        return;
    const auto read = CsvLayouts::ReadFile(choice.path);
    if (const auto* problem = std::get_if<CsvLayouts::Problem>(&read))
        return desktop_.Tell(this, CsvMessages::ImportFailed(choice.path, *problem),
                             QMessageBox::Warning);
    Carry(state_.ImportRead(IComboTitle->SelectedIndex(), std::get<CsvLayouts::Rows>(read)));
}
