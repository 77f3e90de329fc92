// A settings file (setting/Setting_<code>.dat) of any layout, read as a
// learning file starts: damage test, older versions, missing lines. Settings
// that were read are saved and read again and must come back unchanged.
#include "fuzz/FuzzTarget.h"

namespace {
// The first byte chooses the file: phrase files read some lines differently.
const QStringList kCodes = {QStringLiteral("TT"), QStringLiteral("TJ"), QStringLiteral("IT"),
                            QStringLiteral("DJ")};
const int kSlots[] = {6, 7, 8, 28};
constexpr qint32 kDataVersion = 805;
}

TESSARION_FUZZ_TARGET(settings, input)
{
    if (input.isEmpty())
        return;
    const int which = static_cast<unsigned char>(input.front()) % kCodes.size();
    input = input.sliced(1);
    TFuzzEngine &engine = FuzzEngine();
    TCC &cc = engine.cc();
    engine.Reset(kCodes.at(which), kSlots[which], 3, 0);
    cc.catalog.dataVersion = kDataVersion;
    engine.Write(QStringLiteral("user/setting/Setting_") + cc.fileCode + QStringLiteral(".dat"), input);
    if (!FuzzCleanly([&] { cc.LoadFileSettings(); }))
        return;
    FuzzExpect(cc.UsableQuota() >= 0 && cc.UsableQuota() <= kMaxDailyQuota,
               "the usable quota fits the asked-word list");

    cc.SaveFileSettings();
    const TFileSettings saved = cc.settings;
    const TFormPosition position = cc.formPosition;
    cc.settings = TFileSettings{};
    cc.formPositionLoaded = false;
    FuzzExpect(FuzzCleanly([&] { cc.LoadFileSettings(); }), "saved settings read back");
    FuzzExpect(cc.settings == saved, "saved settings read back unchanged");
    FuzzExpect(cc.formPosition == position, "saved window positions read back unchanged");
}
