#pragma once

#include "data_file.h"
#include "sealed_file.h"

#include <QString>

// A file operation that failed: which file, and why. The windows turn it into a message.
struct StoreError {
    enum class Kind { Read, Write };
    enum class Cause {
        System,         // the system refused; `systemReason` says why
        NotRegularFile, // a device, a pipe, a directory: never read, it could block or not end
        TooLarge,       // far past any data file: refused before it is read
        ReadIncomplete, // the file ended before its size
        Damaged,        // read whole, but not a data file that reads faithfully; see `damage`
        UnstorableText, // a text the file cannot hold
        NoConverter,    // the system has no code page 932 converter
        FolderReplaced, // another folder stands at the program folder's path since the start
        LinkPutInPlace, // a link stands where a file of the program's was none at the start
        NotSettings,    // the settings file is not UTF-8 text of a settings file's size
        SealRefused,    // an encrypted data file that does not open; `seal` says why
        Locked,         // the encrypted data is locked: nothing is written until it is unlocked
    };
    Kind kind = Kind::Read;
    QString path;
    Cause cause = Cause::System;
    QString systemReason;
    DataFile::ParseError damage{};
    SealedFile::Refusal seal{};
};

// Data files are a few kilobytes; this is far past any of them.
inline constexpr qint64 kMaxDataFileSize = qint64(64) << 20;
