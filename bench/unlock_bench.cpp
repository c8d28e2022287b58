// Times the unlock of an encrypted data file with 200 entries, at the cost new files get:
// the key derivation alone, opening the seal alone with the key at hand, and the whole
// unlock from the file on disk (read, derive, open), as the start does it; then the data
// session's opening at the start, of the plain data file and of the encrypted one with its
// password (folder pinned, file read, unlocked, parsed).
//
//   cofferly_unlock_bench [RUNS]
//   prints: kdf_ms=MEDIAN open_ms=MEDIAN unlock_ms=MEDIAN cost_ops=N cost_mib=N
//           session_plain_ms=MEDIAN session_encrypted_ms=MEDIAN
#include "figures.h"
#include "sample_entries.h"
#include "store/data_file.h"
#include "store/data_session.h"
#include "store/sealed_store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

template <typename Step> double Milliseconds(Step step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    const QString password = QStringLiteral("correct horse battery staple");
    if (!CryptoReady())
        return 1;

    const QByteArray plain = *DataFile::Format({0, 0}, SampleEntries(200));
    const SealedFile::Header header = SealedFile::NewHeader();
    const QByteArray sealed =
        SealedFile::Seal(*DeriveKey(password, header.salt, header.cost), header, plain);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Cofferly.Enc"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(sealed) != sealed.size())
        return 1;
    file.close();

    std::vector<double> kdf, open, unlock;
    for (int i = 0; i < runs; ++i) {
        std::optional<SealKey> key;
        kdf.push_back(Milliseconds([&] { key = DeriveKey(password, header.salt, header.cost); }));
        open.push_back(Milliseconds([&] { SealedFile::Open(*key, sealed); }));
        unlock.push_back(Milliseconds([&] {
            if (!std::holds_alternative<SealedFile::Unlocked>(UnlockFile(path, password)))
                std::exit(1);
        }));
    }
    // The session's opening: a folder with the plain file, one with the encrypted file.
    QTemporaryDir plainDir;
    QFile plainFile(plainDir.filePath(QStringLiteral("Cofferly.Dat")));
    if (!plainFile.open(QIODevice::WriteOnly) || plainFile.write(plain) != plain.size())
        return 1;
    plainFile.close();
    DataSession::Answers answers;
    answers.password = password;
    std::vector<double> plainStart, sealedStart;
    auto start = [](const QString& folder, const DataSession::Answers& given) {
        return Milliseconds([&] {
            if (!std::holds_alternative<DataSession>(
                    DataSession::Open(folder, {0, 0}, QStringLiteral("group"), given)))
                std::exit(1);
        });
    };
    for (int i = 0; i < runs; ++i) {
        plainStart.push_back(start(plainDir.path(), {}));
        sealedStart.push_back(start(dir.path(), answers));
    }
    std::printf("kdf_ms=%.1f open_ms=%.2f unlock_ms=%.1f cost_ops=%u cost_mib=%u "
                "session_plain_ms=%.2f session_encrypted_ms=%.1f\n",
                Median(kdf), Median(open), Median(unlock), header.cost.opsLimit,
                header.cost.memLimitKib / 1024, Median(plainStart), Median(sealedStart));
    return 0;
}
