#include "password_generator.h"

#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace PasswordGenerator {

namespace {

const QString kUpper = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
const QString kLower = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
const QString kDigits = QStringLiteral("0123456789");
// Printable ASCII punctuation without `"` and `-`. No space: sites and forms trim it.
const QString kSymbols = QStringLiteral("!#$%&'()*+,./:;<=>?@[\\]^_`{|}~");
const QString kLookAlikes = QStringLiteral("lI1O0");

// The chosen classes, each without the look-alikes when those are left out.
QList<QString> Classes(const Options& options)
{
    QList<QString> classes;
    const std::pair<bool, const QString*> all[] = {{options.upper, &kUpper},
                                                   {options.lower, &kLower},
                                                   {options.digits, &kDigits},
                                                   {options.symbols, &kSymbols}};
    for (const auto& [chosen, characters] : all) {
        if (!chosen)
            continue;
        QString kept = *characters;
        if (options.noLookAlikes)
            kept.removeIf([](QChar c) { return kLookAlikes.contains(c); });
        classes << kept;
    }
    return classes;
}

bool HoldsEach(const QString& password, const QList<QString>& classes)
{
    return std::all_of(classes.begin(), classes.end(), [&](const QString& characters) {
        return std::any_of(password.begin(), password.end(),
                           [&](QChar c) { return characters.contains(c); });
    });
}

QString Joined(const QString& run, int groupSize)
{
    if (groupSize <= 0)
        return run;
    QStringList groups;
    for (qsizetype at = 0; at < run.size(); at += groupSize)
        groups << run.mid(at, groupSize);
    return groups.join(u'-');
}

int ClampedLength(const Options& options)
{
    return std::clamp(options.length, kMinLength, kMaxLength);
}

} // namespace

QString Alphabet(const Options& options)
{
    return Classes(options).join(QString());
}

QString Make(const Options& options)
{
    const QList<QString> classes = Classes(options);
    const QString alphabet = classes.join(QString());
    if (alphabet.isEmpty())
        return {};
    QRandomGenerator* random = QRandomGenerator::system();
    const int length = ClampedLength(options);
    QString run(length, QChar());
    // Drawing again until every class is there keeps all such passwords equally likely;
    // even at 8 characters a few draws are enough.
    do {
        for (QChar& c : run)
            c = alphabet[random->bounded(int(alphabet.size()))];
    } while (!HoldsEach(run, classes));
    return Joined(run, options.groupSize);
}

double StrengthBits(const Options& options)
{
    const qsizetype size = Alphabet(options).size();
    return size == 0 ? 0 : ClampedLength(options) * std::log2(double(size));
}

Band BandOf(double bits)
{
    if (bits < 40)
        return Band::Weak;
    if (bits < 65)
        return Band::Fair;
    if (bits < 100)
        return Band::Strong;
    return Band::VeryStrong;
}

} // namespace PasswordGenerator
