// Bytes from the server: the first byte chooses what they arrive as, the
// rest is the body. Even: the server catalog, fetched and checked as the
// version window does; whatever was accepted names only files of the slot
// table. Odd: a revised learning file (code by the second byte, word count by
// the third); what the check accepts is read by the program without a fault.
#include "engine/DataUpdates.h"
#include "fuzz/FuzzTarget.h"

namespace {
const QStringList kCodes = {QStringLiteral("TT"), QStringLiteral("TJ"), QStringLiteral("DT"),
                            QStringLiteral("DJ"), QStringLiteral("IT"), QStringLiteral("FT")};

class TBytesFromServer : public TDownloadService {
public:
    explicit TBytesFromServer(QByteArray body) : m_body(std::move(body)) {}
    bool IsInternetConnected() override { return true; }
    qint64 RemoteFileSize(const QString &) override { return m_body.size(); }
    TDownloadResult Fetch(const QString &, const std::function<void(qint64)> &) override
    {
        return {TDownloadOutcome::Completed, m_body, QString()};
    }

private:
    QByteArray m_body;
};
}

TESSARION_FUZZ_TARGET(server_download, input)
{
    if (input.size() < 3)
        return;
    const bool asCatalog = (static_cast<unsigned char>(input.at(0)) & 1) == 0;
    const QString code = kCodes.at(static_cast<unsigned char>(input.at(1)) % kCodes.size());
    const int tangoTotal = static_cast<unsigned char>(input.at(2));
    TFuzzEngine &engine = FuzzEngine();
    TCC &cc = engine.cc();
    engine.Reset(code, FileSlotOfCode(code), tangoTotal, 0);
    TBytesFromServer server(input.sliced(3).toByteArray());
    TDataUpdater updater(cc, &server);
    if (asCatalog) {
        if (!FuzzCleanly([&] { updater.RefreshServerCatalog(false); }))
            return;
        for (int slot = 1; slot <= kLastBuiltInSlot; ++slot) {
            const QString &served = cc.siteCatalog.rows[slot].Code;
            FuzzExpect(served.isEmpty() || IsServedCodeOfSlot(served, slot), "an accepted catalog names only slot-table files");
        }
        return;
    }
    const int slot = FileSlotOfCode(code);
    cc.catalog.rows[slot].Code = code;
    cc.catalog.rows[slot].TangoTotal = tangoTotal;
    cc.catalog.rows[slot].DBTangoTotal = tangoTotal;
    bool accepted = false;
    if (!FuzzCleanly([&] { accepted = updater.DownloadLearningFile(code); }) || !accepted)
        return;
    cc.SetCurrentFile(code);
    FuzzExpect(FuzzCleanly([&] { cc.LoadLearningFile(); }), "an accepted learning file is read as one");
}
