// The fixed table of file slots, file codes and language kinds.
#include "workspace/Catalog.h"

namespace {
const QString kSwitchOn = QStringLiteral("ON");
const QString kSwitchOff = QStringLiteral("OFF");
}

bool SwitchFromText(const QString &text)
{
    return text == kSwitchOn;
}

QString SwitchText(bool on)
{
    return on ? kSwitchOn : kSwitchOff;
}

namespace {
struct TSlotEntry {
    int slot;
    const char16_t *code;
    TLanguageKind kind;
};

constexpr TSlotEntry kBuiltInSlots[] = {
    {1, u"ETB", TLanguageKind::English}, {2, u"ETE", TLanguageKind::English},
    {3, u"ETU", TLanguageKind::English}, {4, u"EJU", TLanguageKind::English},
    {6, u"TT", TLanguageKind::English},  {7, u"TJ", TLanguageKind::English},
    {8, u"IT", TLanguageKind::Italian},  {9, u"FT", TLanguageKind::French},
    {10, u"GT", TLanguageKind::German},  {11, u"RT", TLanguageKind::Russian},
    {12, u"ST", TLanguageKind::Spanish}, {13, u"PT", TLanguageKind::Portuguese},
    {27, u"DT", TLanguageKind::English}, {28, u"DJ", TLanguageKind::English},
};

constexpr struct {
    TLanguageKind kind;
    int slot;
} kMainSlots[] = {
    {TLanguageKind::English, 6}, {TLanguageKind::Italian, 8}, {TLanguageKind::French, 9},
    {TLanguageKind::German, 10}, {TLanguageKind::Spanish, 12}, {TLanguageKind::Russian, 11},
    {TLanguageKind::Portuguese, 13},
};

const QString kYetCode = QStringLiteral("YET");
const QString kNoFileCode = QStringLiteral("NIL");
const QString kUserCodePrefix = QStringLiteral("U");
}

int FileSlotOfCode(const QString &code)
{
    for (const TSlotEntry &e : kBuiltInSlots)
        if (code == QStringView(e.code))
            return e.slot;
    if (code == kYetCode)
        return kYetSlot;
    if (code.startsWith(kUserCodePrefix)) {
        // "U1".."U18" exactly: no sign, no leading zero, no spaces.
        const QStringView digits = QStringView(code).sliced(1);
        bool ok = false;
        const int n = digits.toInt(&ok);
        if (ok && n >= 1 && n <= kUserFileCount && digits == QString::number(n))
            return kLastBuiltInSlot + n;
    }
    return 0;
}

QString FileCodeOfSlot(int slot)
{
    for (const TSlotEntry &e : kBuiltInSlots)
        if (e.slot == slot)
            return QString::fromUtf16(e.code);
    if (slot == kYetSlot)
        return kYetCode;
    if (slot >= kFirstUserSlot && slot <= kSlotCount)
        return kUserCodePrefix + QString::number(slot - kLastBuiltInSlot);
    return kNoFileCode;
}

int LanguageKindOfSlot(int slot)
{
    for (const TSlotEntry &e : kBuiltInSlots)
        if (e.slot == slot)
            return static_cast<int>(e.kind);
    return static_cast<int>(TLanguageKind::None);
}

int MainSlotOfLanguageKind(int kind)
{
    for (const auto &m : kMainSlots)
        if (static_cast<int>(m.kind) == kind)
            return m.slot;
    return 0;
}
