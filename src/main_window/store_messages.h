#pragma once

#include "store/store_error.h"

#include <QString>

// Why a file operation failed, as a sentence for the user.
QString StoreErrorReason(const StoreError& error);
