#pragma once

#include "sealed_file.h"
#include "store_error.h"

#include <QString>
#include <QStringView>
#include <variant>

// The encrypted data file at `path` read whole and unlocked with `password`; a refusal
// names the file.
std::variant<SealedFile::Unlocked, StoreError> UnlockFile(const QString& path,
                                                          QStringView password);
