#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

// What this system's clipboard mark for a copied secret puts beside the text, as MIME type
// and bytes.
QList<std::pair<QString, QByteArray>> SecretMarks();
