#include "fuzz/FuzzTarget.h"

#include "base/TError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QStringList kUserSubfolders = {QStringLiteral("record"), QStringLiteral("setting"),
                                     QStringLiteral("FileInfo"), QStringLiteral("word_user")};
const QDate kFuzzToday(2009, 7, 5);
constexpr quint32 kFuzzSeed = 7;

QMap<QString, TFuzzEntry> &Registry()
{
    static QMap<QString, TFuzzEntry> registry;
    return registry;
}
}

TFuzzTarget::TFuzzTarget(const QString &name, TFuzzEntry entry)
{
    Registry().insert(name, entry);
}

const QMap<QString, TFuzzEntry> &FuzzTargets()
{
    return Registry();
}

void FuzzExpect(bool condition, const char *what)
{
    if (!condition)
        throw TFuzzFinding(what);
}

bool FuzzCleanly(const std::function<void()> &step)
{
    try {
        step();
        return true;
    } catch (const TFatalError &) {
        return false;
    }
}

TFuzzEngine::TFuzzEngine() : m_cc(std::make_unique<TCC>())
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary folder for the fuzz engine");
    m_cc->programFolder = m_dir.path() + QLatin1Char('/');
    m_cc->userFolder = m_cc->programFolder + QStringLiteral("user/");
}

void TFuzzEngine::Reset(const QString &code, int slot, int tangoTotal, int touchedWords)
{
    TCC &cc = *m_cc;
    QDir(cc.programFolder).removeRecursively();
    QDir dir;
    for (const QString &sub : kUserSubfolders)
        dir.mkpath(cc.userFolder + sub);
    dir.mkpath(cc.programFolder + QStringLiteral("resource"));

    cc.catalog = TCatalog{};
    cc.siteCatalog = TCatalog{};
    cc.settings = TFileSettings{};
    cc.formPosition = TFormPosition{};
    cc.formPositionLoaded = false;
    cc.settingsFileNew = false;
    cc.captureWindowState = nullptr;
    cc.recordWordIndex.reset();
    cc.simulationRunning = false;
    cc.training = TTrainingState{};
    cc.fileQueue.Clear();
    cc.todaysQuestions.Clear();
    cc.askedWords.Clear();
    cc.question = TQuestion{};
    cc.noQuestions = nullptr;
    cc.acceptedForms.clear();
    cc.defaultNotifier.messages.clear();
    cc.notifier = &cc.defaultNotifier;
    cc.random.Seed(kFuzzSeed);
    cc.clock.FixToday(kFuzzToday);
    cc.clock.SetDayOffset(0);
    for (int p = 1; p <= qMin(touchedWords, kMaxWords); ++p)
        cc.words[p] = TTango{};
    UseFile(code, slot, tangoTotal);
}

void TFuzzEngine::UseFile(const QString &code, int slot, int tangoTotal)
{
    TCC &cc = *m_cc;
    for (int p = 1; p <= qMin(tangoTotal, kMaxWords); ++p)
        cc.words[p] = TTango{};
    cc.fileCode = code;
    cc.fileSlot = slot;
    cc.userFile = slot > kLastBuiltInSlot;
    if (slot >= 1 && slot <= kSlotCount) {
        cc.catalog.rows[slot] = TDBF{};
        cc.catalog.rows[slot].Code = code;
        cc.catalog.rows[slot].TangoTotal = tangoTotal;
        cc.catalog.rows[slot].DBTangoTotal = tangoTotal;
    }
}

void TFuzzEngine::Write(const QString &relative, QByteArrayView bytes) const
{
    const QString path = ProgramFile(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), bytes.size()) != bytes.size())
        throw std::runtime_error("cannot write a fuzz input file");
}

TFuzzEngine &FuzzEngine()
{
    static TFuzzEngine engine;
    return engine;
}

int FuzzLineBound(QByteArrayView bytes)
{
    qsizetype breaks = 0;
    for (char c : bytes)
        if (c == '\n' || c == '\r')
            ++breaks;
    return static_cast<int>(qMin<qsizetype>(breaks + 1, kMaxWords));
}

QString FuzzText(QByteArrayView bytes)
{
    return QString::fromUtf8(bytes);
}
