#pragma once

#include <QString>
#include <functional>

class QObject;
class QProcess;

// What becomes of a related URL before anything is started.
enum class UrlHandling {
    OpenAtOnce, // a web or mail address (http, https, ftp, mailto): its usual program opens it
    AskFirst,   // anything else may open a file or start a program: the user decides
    Refuse,     // a leading "-" would be read by the opener as an option
};

UrlHandling HandlingOf(const QString& url);

// Starts `program` with `target` as its one argument, no shell between, and returns at
// once. Its output is kept for the report and never reaches our own. When it cannot start,
// ends with a failure or is killed, `failed` gets the reason as text for the user, unless
// `context` is gone by then. The process returned deletes itself once it has ended or
// could not start.
// On Windows the shell opens `target` unchanged with its "open" verb, as the user's settings
// say, so `program` plays no part; nullptr is returned, and a failure is reported the same
// way, once control is back in the event loop.
QProcess* StartOpener(const QString& program, const QString& target, const QObject* context,
                      std::function<void(const QString& reason)> failed);
