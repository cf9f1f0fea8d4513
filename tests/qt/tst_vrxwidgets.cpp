#include "testmain.h"

#include "screenshot.h"
#include "vrfiledialog.h"
#include "vrtabwidget.h"
#include "vrxinputdialog.h"
#include "vrxlistview.h"
#include "vrxmainwindow.h"
#include "vrxmessagebox.h"
#include "vrxpushbutton.h"
#include "vrxrenamedialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

namespace {
class ZoomWindow : public VRXMainWindow
{
public:
    int zoomIns = 0, zoomOuts = 0;
    void zoomin() override { ++zoomIns; }
    void zoomout() override { ++zoomOuts; }
};

const QSize kDisplays[] = {QSize(240, 320), QSize(480, 640)};

} // namespace

// Tab widget, main window and dialogs; each dialog is answered through the hook.
class TestVRXWidgets : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        VRXDialog::setAnswerHook(nullptr);
        useDisplay(QSize(480, 640));
    }

    void tabWidget()
    {
        VRTabWidget tabs;
        auto* b = new QLabel("b");
        QPointer<QLabel> a(new QLabel("a"));
        QCOMPARE(tabs.addTab(a, QStringLiteral("First"), findIconSet("file_audio")), 0);
        QCOMPARE(tabs.addTab(b, QStringLiteral("Second"), findIconSet("folder_audio")), 1);
        QSignalSpy changed(&tabs, &VRTabWidget::currentPageChanged);
        tabs.showPage(b);
        tabs.showPage(nullptr);
        QCOMPARE(tabs.currentPage(), b);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.last().at(0).value<QWidget*>(), b);
        QVERIFY(a); // hidden pages stay alive
        // Positions 0..3 are north, south, west, east; others are clamped.
        const std::pair<int, QTabWidget::TabPosition> want[] = {
            {-3, QTabWidget::North}, {1, QTabWidget::South}, {2, QTabWidget::West}, {99, QTabWidget::East}};
        for (const auto& [p, pos] : want) {
            tabs.setTabPosition(p);
            QCOMPARE(tabs.tabPosition(), pos);
            QCOMPARE(tabs.tabPositionNumber(), qBound(0, p, 3));
        }
    }

    void mainWindowZoomKeysAndActions()
    {
        ZoomWindow w;
        QVERIFY(!w.action("zoomin")->icon().isNull());
        QCOMPARE(w.action("nothing"), nullptr);
        // The actions and the zoom keys of the device (0x2010 in, 0x200f out) and of
        // desktop keyboards.
        w.action("zoomin")->trigger();
        w.action("zoomout")->trigger();
        for (int key : {0x2010, 0x200f, int(Qt::Key_ZoomIn)}) {
            QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(&w, &e);
        }
        QCOMPARE(w.zoomIns, 3);
        QCOMPARE(w.zoomOuts, 2);
    }

    void inputAndRenameDialogs()
    {
        bool ok = false;
        // Accepted: the typed text, the proposal shown first.
        VRXDialog::setAnswerHook([](VRXDialog* d) {
            auto* in = qobject_cast<VRXInputDialog*>(d);
            QCOMPARE(in->text(), QStringLiteral("PlayList1"));
            in->setText(QStringLiteral("Road trip"));
            in->accept();
        });
        QCOMPARE(VRXInputDialog::getText("Save Playlist", "Name:", "PlayList1", &ok), QStringLiteral("Road trip"));
        QVERIFY(ok);
        // Cancel, or a hook that answers nothing: the initial text with ok clear.
        for (bool answers : {true, false}) {
            VRXDialog::setAnswerHook([answers](VRXDialog* d) {
                qobject_cast<VRXInputDialog*>(d)->setText("typed");
                if (answers)
                    d->reject();
            });
            ok = true;
            QCOMPARE(VRXInputDialog::getText("c", "l", "PlayList1", &ok), QStringLiteral("PlayList1"));
            QVERIFY(!ok);
        }
        // Renaming shows the old name read-only and proposes it selected for typing over.
        QString newName;
        VRXDialog::setAnswerHook([](VRXDialog* d) {
            auto* r = qobject_cast<VRXRenameDialog*>(d);
            auto* old = r->findChild<QLineEdit*>("oldText");
            QVERIFY(old && old->isReadOnly());
            QCOMPARE(old->text(), QStringLiteral("Old"));
            QCOMPARE(r->lineEdit()->selectedText(), QStringLiteral("Old"));
            r->setNewText("New");
            r->accept();
        });
        QVERIFY(VRXRenameDialog::getNewName("Old", newName));
        QCOMPARE(newName, QStringLiteral("New"));
        VRXDialog::setAnswerHook([](VRXDialog* d) { d->reject(); });
        QVERIFY(!VRXRenameDialog::getNewName("Old", newName));
        QCOMPARE(newName, QStringLiteral("New"));
    }

    void messageBoxes()
    {
        // The safe choice comes first and is the default; the one clicked is returned.
        VRXDialog::setAnswerHook([&](VRXDialog* d) {
            auto* box = qobject_cast<VRXMessageBox*>(d);
            QVERIFY(box->button(1)->isDefault());
            QCOMPARE(box->button(2)->text(), QStringLiteral("Overwrite"));
            box->button(2)->click();
        });
        QCOMPARE(VRXMessageBox::question(nullptr, "Save Playlist", "Playlist already exists!", "Overwrite", "filesave"), 2);
        // User data in a message is shown as it is.
        VRXMessageBox plain("c", "<b>mine</b>", "dialog_critical");
        QCOMPARE(plain.findChild<QLabel*>("text")->textFormat(), Qt::PlainText);
        // Escape chooses the first button: nothing is overwritten or deleted.
        VRXDialog::setAnswerHook([](VRXDialog* d) { d->reject(); });
        QCOMPARE(VRXMessageBox::question(nullptr, "c", "t", "Save", "filesave"), 1);
        QVERIFY(!VRXMessageBox::confirmDelete(nullptr, "Delete it?"));
        VRXDialog::setAnswerHook([&](VRXDialog* d) { qobject_cast<VRXMessageBox*>(d)->button(1)->click(); });
        QVERIFY(VRXMessageBox::confirmDelete(nullptr, "Delete it?"));
    }

    void folderChooser()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("Music/Rock");
        QDir(dir.path()).mkpath("Music/Jazz");
        QFile f(dir.path() + "/Music/song.mp3");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QString music = QDir(dir.path() + "/Music").absolutePath();
        // Entering a folder by activation, then choosing a sub-folder; only folders are listed.
        VRXDialog::setAnswerHook([&](VRXDialog* d) {
            auto* fd = qobject_cast<VRFileDialog*>(d);
            QCOMPARE(fd->listView()->childCount(), 1);
            emit fd->listView()->returnPressed(fd->listView()->itemAtRow(0));
            QCOMPARE(fd->directory(), music);
            QCOMPARE(fd->listView()->childCount(), 2);
            QCOMPARE(fd->listView()->itemAtRow(0)->text(0), QStringLiteral("Jazz"));
            fd->selectName("Rock");
            fd->accept();
        });
        QCOMPARE(VRFileDialog::getExistingDirectory(dir.path(), "Select Media Folder"), music + "/Rock");
        // Nothing selected: the folder shown; a start folder that does not exist opens at home.
        VRXDialog::setAnswerHook([](VRXDialog* d) { d->accept(); });
        QCOMPARE(VRFileDialog::getExistingDirectory(music, "x"), music);
        QCOMPARE(VRFileDialog::getExistingDirectory(dir.path() + "/missing", "x"), QDir::homePath());
        VRXDialog::setAnswerHook([](VRXDialog* d) { d->reject(); });
        QCOMPARE(VRFileDialog::getExistingDirectory(dir.path(), "x"), QString());
    }

    void everyPictureTheProgramNamesExists()
    {
        const char* const names[] = {
            "play", "pause", "stop", "exit", "back", "forward", "prev", "next", "volume", "bookmark",
            "bookmark_add", "audio", "file_audio", "folder_audio", "cd_audio", "cd_audio_add", "kuser",
            "cabinet", "up", "down", "remove", "remove2", "rename", "rename2", "delete", "mouse",
            "filefind2", "filesave", "fileopen", "sort-name", "package_utilities", "color", "color_line",
            "color_fill", "key_bindings", "view", "analyzer", "viewmag+", "viewmag-", "Orblane",
            "button_ok", "button_cancel", "dialog_critical", "frame", "v0", "v1", "v2", "v3", "h0", "h1",
            "h2", "h3"};
        for (QSize d : kDisplays) {
            useDisplay(d);
            for (const char* name : names)
                QVERIFY2(!findImage(name).isNull(), name);
            // Large displays get the double-size pictures, small ones the normal size.
            QCOMPARE(findImage("play").width(), d.width() >= 480 ? 40 : 20);
            QCOMPARE(findImage("frame").width(), 40);
        }
    }
};

QUAVRIX_TEST_MAIN(TestVRXWidgets)
#include "tst_vrxwidgets.moc"
