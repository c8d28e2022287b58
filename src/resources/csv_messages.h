#pragma once

#include "store/csv_layouts.h"

#include <QList>
#include <QString>

// What the user is told about exporting and importing CSV.
namespace CsvMessages {

// Why a file could not be imported, with its path; nothing changed.
QString ImportFailed(const QString& path, const CsvLayouts::Problem& problem);

// The question before the rows come in, or (`taken` 0) why nothing can: how many rows come
// in with how many new headings, the rows left out for want of room, the rows refused and
// why (the first twenty; the number of the others).
QString ImportSummary(const QList<CsvLayouts::Refusal>& refused, int taken, int headings, int left);

// An export that failed: the file and the reason.
QString ExportFailed(const StoreError& error);

} // namespace CsvMessages
