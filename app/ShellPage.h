// SPDX-License-Identifier: GPL-3.0-or-later
// A page of the main window (mouse, keyboard, pad, shared lighting, macros): the main window
// hands it the notifications and messages that belong to it.
#pragma once

#include "app/skin/SkinNotify.h"

#include <QString>
#include <QStringList>
#include <filesystem>
#include <initializer_list>

namespace varnix {

struct DeviceRecord;
class FindDev;
class SkinControl;
class SkinManager;
class SkinWindow;

class ShellPage {
public:
    // `senderName` is the name the main window uses for the page's own notifications
    // ("MouseDevice", "KBDevice", "PadDevice"; empty for the home and macro pages).
    ShellPage(QString pageName, QString senderName, QString controlPrefix);
    virtual ~ShellPage() = default;
    ShellPage(const ShellPage&) = delete;
    ShellPage& operator=(const ShellPage&) = delete;

    const QString& pageName() const { return pageName_; }
    const QString& senderName() const { return senderName_; }
    // Whether a control belongs to this page (its name contains the page's marker, such as
    // "_Mouse" in "btn_MouseAdv_1"; compared with case).
    virtual bool ownsControl(const QString& controlName) const;

    virtual void init(SkinWindow& host);
    virtual void notify(const SkinNotify& message);
    // The home page receives a fresh copy of the catalogue with each notification.
    virtual void setCatalogue(const FindDev& catalogue);
    virtual void languageChanged();
    // Configuration operation 1 or 2 (message 2034).
    virtual void deviceConfig(int operation);
    // Lets the page store edits before its tab is left.
    virtual void storePendingEdits();
    // A window message that belongs to the page (device key events, refreshes, key lists).
    virtual void deviceMessage(int message, qintptr wParam, qintptr lParam);
    int deviceMessages() const { return deviceMessages_; }

    // What the page has received, for tracing.
    int notificationCount() const { return notifications_; }
    const SkinNotify& lastNotification() const { return last_; }
    int languageChanges() const { return languageChanges_; }
    int catalogueCopies() const { return catalogueCopies_; }

    // Controls the page's position sheets placed.
    QStringList& positionedControls() { return positioned_; }

protected:
    SkinWindow* host() const { return host_; }
    // Builds the page's skin file into a container of the host window, once: the window starts
    // without the controls of pages nobody has opened yet. Returns the page's root control, or
    // null when the file cannot be built (the reason goes to the debug channel).
    SkinControl* buildPageSkin(const QString& file, const QString& containerName);
    // Places the page's controls by the position sheets of a model folder, in order, and keeps
    // the names they placed in positionedControls(). Returns false when a sheet cannot be opened
    // (the controls it would place keep the places the skin gives them).
    // The catalogue row a device page is asked to show, with the page's skin built: null when the
    // index names no device of `deviceType`, names the device shown already (`shownIndex`) and
    // `reload` is false (its edits not applied yet stay), or the skin cannot be built.
    const DeviceRecord* deviceToShow(const FindDev& catalogue, int deviceIndex, int shownIndex,
                                     int deviceType, bool reload, const QString& skinFile,
                                     const QString& containerName);
    bool layOutByPositionSheets(const std::filesystem::path& folder,
                                std::initializer_list<const char*> sheets);

private:
    QString pageName_;
    QString senderName_;
    QString controlPrefix_;
    SkinWindow* host_ = nullptr;
    SkinNotify last_;
    int notifications_ = 0;
    int languageChanges_ = 0;
    int catalogueCopies_ = 0;
    int deviceMessages_ = 0;
    QStringList positioned_;
    SkinControl* pageRoot_ = nullptr;
};

} // namespace varnix
