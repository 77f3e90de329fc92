#pragma once
// The settings block of the current learning file and the window positions,
// with their files setting/Setting_<code>.dat and setting/FormPosition.dat.
#include "workspace/Catalog.h"
#include "workspace/EngineContext.h"
#include "workspace/FileSettings.h"

#include <QString>
#include <QStringList>
#include <functional>

class TFileCommit;

class TSettingsStore {
public:
    TSettingsStore(TEngineContext &context, const TCatalog &catalog);

    TFileSettings settings;
    TFormPosition formPosition;          // setting/FormPosition.dat
    bool formPositionLoaded = false;
    bool settingsFileNew = false;        // no settings file yet; first written at file end
    // Called by SaveFileSettings before it writes: the windows put their
    // positions into formPosition and the active tab into settings.startTab.
    std::function<void()> captureWindowState;
    // Called whenever the defaults replace the block: the run starts afresh
    // with them.
    std::function<void()> defaultsApplied;

    void LoadFormPosition();
    void LoadFileSettings();
    // The defaults of the current file. A new file gets fresh reserved
    // values; otherwise the version, the reserved values, the skin and the
    // typing sound are kept, and the learning start date always is.
    void SetDefaultFileSettings(bool newFile);
    void SaveFileSettings();
    // The settings file, then FormPosition.dat, into a save of several files
    // (the windows are asked for their state first); SettingsCommitted once
    // that save is done.
    void AddToCommit(TFileCommit &commit);
    void SettingsCommitted();
    // The 39 lines SaveFileSettings writes (the windows' state as it is now).
    QStringList FileSettingsLinesToSave() const;
    QString FileSettingsPath() const;
    // The daily quota as everything that counts questions must use it: the
    // stored value bounded to 0..200. 0 (an old settings file's 0, or a
    // negative value) means no quota: the study run never ends by the quota,
    // its remaining count goes below 0 and the quota label shows "done";
    // whoever divides by the quota must allow for it. The stored value is
    // kept as it is and written back unchanged.
    int UsableQuota() const;

private:
    const QString &userFolder;
    const QString &fileCode;
    const TCatalog &catalog;
    TClock &clock;
    TRandom &random;
    TNotifier *const &notifier;
    const bool &m_readOnly;
};
