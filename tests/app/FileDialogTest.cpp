// SPDX-License-Identifier: GPL-3.0-or-later
// The file-dialog seam: the names a save gives, the responder, and the real dialog offscreen.
#include "app/FileDialogService.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace varnix::test {
namespace {

FileDialogRequest lightRequest(const QString& folder = QString()) {
    return {QStringLiteral("Export"), QStringLiteral("Config Flie(*.Light.Config)"),
            QStringLiteral("Config"), folder};
}

QString qpath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// Runs the steps on the file dialog, one each time it is shown, for as long as the returned
// watcher lives. A dialog a step leaves open is cancelled, so that a failed step cannot keep the
// test waiting.
[[nodiscard]] std::unique_ptr<QTimer>
onDialogShown(QList<std::function<void(QFileDialog&)>> steps) {
    auto poll = std::make_unique<QTimer>();
    poll->setInterval(0);
    QObject::connect(
        poll.get(), &QTimer::timeout, [timer = poll.get(), remaining = std::move(steps)]() mutable {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            remaining.takeFirst()(*dialog);
            if (dialog->isVisible())
                dialog->reject();
            if (remaining.isEmpty())
                timer->stop();
        });
    poll->start();
    return poll;
}

QLineEdit* nameField(QFileDialog& dialog) {
    return dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

// Types a name into the dialog's file name field and presses Return, as a user does.
void enterName(QFileDialog& dialog, const QString& name) {
    QLineEdit* field = nameField(dialog);
    ASSERT_NE(field, nullptr);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, name);
    QTest::keyClick(field, Qt::Key_Return);
}

TEST(FileDialogTest, SaveNamesMatchTheFilterTheImportUses) {
    struct Case {
        const char* chosen;
        const char* saved;
    };
    const Case cases[] = {
        {"/data/pad", "/data/pad.Light.Config"},
        {"/data/pad.Config", "/data/pad.Light.Config"},
        {"/data/pad.config", "/data/pad.Light.Config"},
        {"/data/pad.Light.Config", "/data/pad.Light.Config"},
        {"/data/pad.light.config", "/data/pad.light.config"},
        {"/data/pad.v2", "/data/pad.v2.Light.Config"},
        {"/data/my pad.json", "/data/my pad.json.Light.Config"},
        {"pad", "pad.Light.Config"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileDialogService::completeSaveName(QString::fromUtf8(c.chosen), lightRequest()),
                  QString::fromUtf8(c.saved))
            << c.chosen;

    // Without a plain "*.ext" pattern only the default suffix is added, to names without one.
    FileDialogRequest any{QStringLiteral("Export"), QStringLiteral("All(*)"),
                          QStringLiteral("Config"), QString()};
    EXPECT_EQ(FileDialogService::completeSaveName(QStringLiteral("/d/pad"), any),
              QStringLiteral("/d/pad.Config"));
    EXPECT_EQ(FileDialogService::completeSaveName(QStringLiteral("/d/pad.txt"), any),
              QStringLiteral("/d/pad.txt"));
    // Several filters: a name any of them lists stays; others get the first one's extension.
    FileDialogRequest macro{QStringLiteral("Export"),
                            QStringLiteral("Config Flie(*.Macro.Config);;Dat File(*.dat)"),
                            QStringLiteral("Config"), QString()};
    EXPECT_EQ(FileDialogService::completeSaveName(QStringLiteral("/d/old.dat"), macro),
              QStringLiteral("/d/old.dat"));
    EXPECT_EQ(FileDialogService::completeSaveName(QStringLiteral("/d/group"), macro),
              QStringLiteral("/d/group.Macro.Config"));

    EXPECT_EQ(FileDialogService::dialogSuffix(lightRequest()), QStringLiteral("Light.Config"));
    EXPECT_EQ(FileDialogService::dialogSuffix(any), QStringLiteral("Config"));
}

TEST(FileDialogTest, ResponderAnswersInsteadOfTheDialog) {
    struct Asked {
        FileDialogKind kind;
        FileDialogRequest request;
    };
    std::vector<Asked> asked;
    QString answer;
    FileDialogService::setResponder([&](FileDialogKind kind, const FileDialogRequest& request) {
        asked.push_back({kind, request});
        return answer;
    });
    const FileDialogRequest request = lightRequest(QStringLiteral("/home/user/exports"));

    answer = QStringLiteral("/tmp/in.Light.Config");
    EXPECT_EQ(FileDialogService::open(nullptr, request), answer);
    answer = QStringLiteral("/tmp/out");
    EXPECT_EQ(FileDialogService::save(nullptr, request), QStringLiteral("/tmp/out.Light.Config"));
    answer.clear();
    EXPECT_EQ(FileDialogService::open(nullptr, request), QString());
    EXPECT_EQ(FileDialogService::save(nullptr, request), QString());

    ASSERT_EQ(asked.size(), 4u);
    const FileDialogKind kinds[] = {FileDialogKind::Open, FileDialogKind::Save,
                                    FileDialogKind::Open, FileDialogKind::Save};
    for (std::size_t i = 0; i < asked.size(); ++i) {
        EXPECT_EQ(asked[i].kind, kinds[i]) << i;
        EXPECT_EQ(asked[i].request.title, request.title);
        EXPECT_EQ(asked[i].request.filter, QStringLiteral("Config Flie(*.Light.Config)"));
        EXPECT_EQ(asked[i].request.defaultSuffix, QStringLiteral("Config"));
        EXPECT_EQ(asked[i].request.startFolder, request.startFolder);
    }
    FileDialogService::setResponder({});
    EXPECT_FALSE(FileDialogService::hasResponder());
}

TEST(FileDialogTest, RealSaveDialogNamesTheFileForTheImport) {
    TempDir dir;
    const QString folder = qpath(dir.path());
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QString suffix;
    QStringList filters;
    QString shownFolder;
    const auto watcher = onDialogShown({[&](QFileDialog& dialog) {
        mode = dialog.acceptMode();
        suffix = dialog.defaultSuffix();
        filters = dialog.nameFilters();
        shownFolder = dialog.directory().absolutePath();
        enterName(dialog, QStringLiteral("pad"));
    }});
    EXPECT_EQ(FileDialogService::save(nullptr, lightRequest(folder)),
              QDir(folder).filePath(QStringLiteral("pad.Light.Config")));
    EXPECT_EQ(mode, QFileDialog::AcceptSave);
    EXPECT_EQ(suffix, QStringLiteral("Light.Config"));
    EXPECT_EQ(filters, QStringList{QStringLiteral("Config Flie(*.Light.Config)")});
    EXPECT_EQ(shownFolder, QDir(folder).absolutePath());
}

TEST(FileDialogTest, RealSaveDialogComesBackWhenTheCompletedNameExists) {
    TempDir dir;
    const QString folder = qpath(dir.path());
    writeTextFile(dir.path() / "pad.v2.Light.Config", "{}");
    QString secondName;
    const auto watcher =
        onDialogShown({[](QFileDialog& dialog) { enterName(dialog, QStringLiteral("pad.v2")); },
                       [&](QFileDialog& dialog) {
                           if (QLineEdit* field = nameField(dialog))
                               secondName = field->text();
                           dialog.reject();
                       }});
    EXPECT_EQ(FileDialogService::save(nullptr, lightRequest(folder)), QString());
    EXPECT_EQ(secondName, QStringLiteral("pad.v2.Light.Config"));
}

TEST(FileDialogTest, RealOpenDialogReturnsTheChosenFileOrNothing) {
    TempDir dir;
    const QString folder = qpath(dir.path());
    writeTextFile(dir.path() / "mine.Light.Config", "{}");
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    const auto watcher = onDialogShown({[&](QFileDialog& dialog) {
        fileMode = dialog.fileMode();
        enterName(dialog, QStringLiteral("mine.Light.Config"));
    }});
    EXPECT_EQ(FileDialogService::open(nullptr, lightRequest(folder)),
              QDir(folder).filePath(QStringLiteral("mine.Light.Config")));
    EXPECT_EQ(fileMode, QFileDialog::ExistingFile);

    const auto cancelling = onDialogShown({[](QFileDialog& dialog) { dialog.reject(); }});
    EXPECT_EQ(FileDialogService::open(nullptr, lightRequest(folder)), QString());
}

} // namespace
} // namespace varnix::test
