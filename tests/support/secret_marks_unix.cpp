#include "secret_marks.h"

QList<std::pair<QString, QByteArray>> SecretMarks()
{
    return {{QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret")}};
}
