// setting/FormPosition.dat, the window positions shared by all files: read at
// start, written back with every settings save, read again unchanged.
#include "fuzz/FuzzTarget.h"

TESSARION_FUZZ_TARGET(form_position, input)
{
    TFuzzEngine &engine = FuzzEngine();
    TCC &cc = engine.cc();
    engine.Reset(QStringLiteral("TT"), 6, 3, 0);
    engine.Write(QStringLiteral("user/setting/FormPosition.dat"), input);
    if (!FuzzCleanly([&] { cc.LoadFormPosition(); }))
        return;
    const TFormPosition read = cc.formPosition;
    cc.SetDefaultFileSettings(true);
    cc.SaveFileSettings();
    FuzzExpect(FuzzCleanly([&] { cc.LoadFormPosition(); }), "saved window positions read back");
    FuzzExpect(cc.formPosition == read, "saved window positions read back unchanged");
}
