#include "testmain.h"

#include "screenshot.h"
#include "vrfiledialog.h"
#include "vrxcolorbutton.h"
#include "vrtabwidget.h"
#include "vrxactionregistry.h"
#include "vrxinputdialog.h"
#include "vrxlistview.h"
#include "vrxmainwindow.h"
#include "vrxmessagebox.h"
#include "vrxokcancel.h"
#include "vrxpushbutton.h"
#include "vrxrenamedialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QToolButton>

namespace {
class ZoomWindow : public VRXMainWindow
{
public:
    int zoomIns = 0, zoomOuts = 0, rotations = 0;
    void zoomin() override { ++zoomIns; }
    void zoomout() override { ++zoomOuts; }
    void rotate() override { ++rotations; }
};

const QSize kDisplays[] = {QSize(240, 320), QSize(480, 640)};

QString where(QSize d)
{
    return QStringLiteral("%1x%2").arg(d.width()).arg(d.height());
}
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

    // The three pages' tabs fit side by side: on the small display the tabs that are not
    // current show only their icons, their label as a tool tip; at the side there is room.
    void tabsFitTheDisplay()
    {
        for (QSize d : kDisplays) {
            useDisplay(d);
            VRTabWidget tabs;
            tabs.addTab(new QLabel("Play list page"), QStringLiteral("Play List"), findIconSet("file_audio"));
            tabs.addTab(new QLabel("Library page"), QStringLiteral("Library"), findIconSet("folder_audio"));
            tabs.addTab(new QLabel("Player page"), QStringLiteral("Player"), findIconSet("audio"));
            tabs.resize(d);
            tabs.setTabPosition(0);
            tabs.show();
            QVERIFY(QTest::qWaitForWindowExposed(&tabs));
            QVERIFY(tabs.tabBar()->tabRect(2).right() <= d.width());
            QVERIFY(tabs.tabBar()->height() >= 24);
            QCOMPARE(tabs.isCompact(), d.width() < 480);
            QCOMPARE(tabs.tabText(1), tabs.isCompact() ? QString() : QStringLiteral("Library"));
            QCOMPARE(tabs.tabToolTip(1).isEmpty(), !tabs.isCompact());
            saveScreenshot(&tabs, QStringLiteral("vrtabwidget"), d);
            tabs.setTabPosition(2);
            QCoreApplication::processEvents();
            QVERIFY(!tabs.isCompact());
            QCOMPARE(tabs.tabText(1), QStringLiteral("Library"));
            QVERIFY(tabs.tabBar()->width() < d.width() / 2);
        }
    }

    // A tab icon stands upright at every tab position: red over blue stays red over blue
    // on the turned side bars. Large displays get the bigger sized pictures.
    void tabIconsUpright_data()
    {
        QTest::addColumn<int>("position");
        QTest::newRow("top") << 0;
        QTest::newRow("bottom") << 1;
        QTest::newRow("left: icon turned with the label") << 2;
        QTest::newRow("right: icon turned with the label") << 3;
    }
    void tabIconsUpright()
    {
        QFETCH(int, position);
        QImage pic(32, 32, QImage::Format_ARGB32);
        pic.fill(Qt::red);
        for (int y = 16; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                pic.setPixel(x, y, qRgb(0, 0, 255));
        for (QSize d : kDisplays) {
            useDisplay(d);
            VRTabWidget tabs;
            tabs.addTab(new QLabel("a"), QStringLiteral("Play List"), QIcon(QPixmap::fromImage(pic)));
            tabs.addTab(new QLabel("b"), QStringLiteral("Player"), QStringLiteral("audio"));
            tabs.resize(d);
            tabs.setTabPosition(position);
            tabs.show();
            QVERIFY(QTest::qWaitForWindowExposed(&tabs));
            // Beside the double-size page buttons of a large display a 16-pixel icon is lost.
            QCOMPARE(tabs.tabBar()->iconSize(), d.width() >= 480 ? QSize(24, 24) : QSize(16, 16));
            const QImage img = tabs.tabBar()->grab().toImage();
            const QRect r = tabs.tabBar()->tabRect(0);
            QPointF red, blue;
            int reds = 0, blues = 0;
            for (int y = r.top(); y <= r.bottom(); ++y) {
                for (int x = r.left(); x <= r.right(); ++x) {
                    const QColor c(img.pixel(x, y));
                    if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                        red += QPointF(x, y), ++reds;
                    else if (c.blue() > 200 && c.red() < 60 && c.green() < 60)
                        blue += QPointF(x, y), ++blues;
                }
            }
            QVERIFY2(reds > 20 && blues > 20, qPrintable(where(d)));
            red /= reds;
            blue /= blues;
            QVERIFY2(red.y() + 4 < blue.y() && qAbs(red.x() - blue.x()) < 2, qPrintable(where(d)));
        }
    }

    void mainWindowZoomKeysAndActions()
    {
        ZoomWindow w;
        VRXActionRegistry* reg = w.actionRegistry();
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
        // A registry entry replaces one of the same name.
        const int count = int(reg->actions().size());
        int hits = 0;
        QAction* again = reg->add("zoomin", "viewmag+", "Again", &w, [&hits] { ++hits; });
        QCOMPARE(w.action("zoomin"), again);
        QCOMPARE(reg->actions().size(), count);
        again->trigger();
        QCOMPARE(hits, 1);
        QCOMPARE(w.zoomIns, 3);
        // About is posted, so the action returns before its message box is shown.
        int shown = 0;
        VRXDialogAnswer answer([&](VRXDialog* d) {
            ++shown;
            d->done(1);
        });
        w.action("Orblane")->trigger();
        QCOMPARE(shown, 0);
        QCoreApplication::processEvents();
        QCOMPARE(shown, 1);
    }

    void rotation()
    {
        useDisplay(QSize(240, 320));
        ZoomWindow w;
        QVERIFY(w.portrait());
        w.resize(240, 300);
        w.show();
        QCoreApplication::processEvents();
        const int before = w.rotations;
        setDisplaySize(QSize(320, 240));
        w.resize(320, 240);
        QCoreApplication::processEvents();
        QVERIFY(!w.portrait());
        QCOMPARE(w.rotations, before + 1);
        w.resize(310, 230); // still landscape
        QCoreApplication::processEvents();
        QCOMPARE(w.rotations, before + 1);
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

    void colorButton()
    {
        VRXColorButton b(nullptr, "color_fill", "b2");
        QSignalSpy spy(&b, &VRXColorButton::activated);
        b.setColor(QColor("#336699"));
        QCOMPARE(spy.size(), 0); // only a choice is reported
        // Picking a swatch of the pop-up sets the colour and reports it.
        auto* swatch = b.menu()->findChild<QToolButton*>("swatch9");
        QVERIFY(swatch);
        swatch->click();
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.last().at(0).value<QColor>(), VRXColorButton::standardColors().at(9));
        QCOMPARE(b.color(), VRXColorButton::standardColors().at(9));
        b.choose(QColor()); // invalid colours are ignored
        QCOMPARE(spy.size(), 1);
        // The icon's bottom bar shows the colour.
        QCOMPARE(QColor(b.icon().pixmap(24, 24).toImage().pixel(12, 21)), b.color());
    }

    // Every dialog fits the display; the message box shows its (red) icon.
    void dialogsFitTheDisplay()
    {
        for (QSize d : kDisplays) {
            useDisplay(d);
            QTemporaryDir dir;
            QDir(dir.path()).mkpath("Music/Rock");
            VRXInputDialog in("Save Playlist", "Name:", "PlayList1");
            VRXRenameDialog rn("Road trip");
            VRXMessageBox q("Save Playlist", "Playlist already exists!", "dialog_critical");
            q.addButton("Cancel", "button_cancel");
            q.addButton("Overwrite", "filesave");
            VRFileDialog fd(VRFileDialog::Directory, dir.path(), "Select Media Folder");
            for (QDialog* dlg : std::initializer_list<QDialog*>{&in, &rn, &q, &fd}) {
                dlg->adjustSize();
                QVERIFY2(dlg->width() <= d.width(), dlg->metaObject()->className());
            }
            saveScreenshot(&q, QStringLiteral("vrxmessagebox"), d);
            auto* icon = q.findChild<QLabel*>("icon");
            QVERIFY(icon && !icon->pixmap().isNull());
            const QImage pm = icon->pixmap().toImage();
            const QColor c = pm.pixelColor(pm.width() / 4, pm.height() / 2);
            QVERIFY2(c.red() > 150 && c.green() < 120, qPrintable(c.name()));
        }
    }

    // A maximised dialog covers the program's display, where the main window is, not the
    // whole desktop; without a main window it takes the display size at the screen corner.
    void maximisedDialogFillsDisplay()
    {
        for (QSize d : kDisplays) {
            useDisplay(d);
            QWidget main;
            main.setGeometry(QRect(QPoint(37, 21), d));
            main.show();
            QVERIFY(QTest::qWaitForWindowExposed(&main));
            QVERIFY(main.screen()->geometry().width() > d.width()); // else the test proves nothing
            for (bool viaParent : {true, false}) {
                VRXDialog dlg(viaParent ? &main : nullptr);
                dlg.setWindowState(dlg.windowState() | Qt::WindowMaximized);
                dlg.show();
                QVERIFY(QTest::qWaitForWindowExposed(&dlg));
                QCOMPARE(dlg.geometry(), main.geometry());
            }
            VRXDialog later;
            later.show();
            QVERIFY(QTest::qWaitForWindowExposed(&later));
            later.showMaximized();
            QCoreApplication::processEvents();
            QCOMPARE(later.geometry(), main.geometry());
            main.hide();
            VRXDialog alone;
            alone.showMaximized();
            QVERIFY(QTest::qWaitForWindowExposed(&alone));
            QCOMPARE(alone.size(), d);
        }
    }

    // A folder path too long for the chooser loses its middle: the start and the folder
    // itself stay readable, and the dialog stays within the display.
    void fileDialogPathElided()
    {
        QTemporaryDir dir;
        const QString deep = dir.path() + "/A rather long folder name/Another long folder name/Final";
        QVERIFY(QDir().mkpath(deep));
        useDisplay(QSize(240, 320));
        VRFileDialog fd(VRFileDialog::Directory, deep, "Select Media Folder");
        fd.resize(fd.sizeHint());
        fd.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fd));
        QVERIFY(fd.width() <= 240);
        auto* path = fd.findChild<QLabel*>("path");
        QVERIFY(path);
        QCOMPARE(path->text(), QDir::cleanPath(deep));
        QVERIFY(path->width() < path->fontMetrics().horizontalAdvance(deep)); // else nothing to elide
        // What is drawn: the label's pixels against its text drawn elided in the middle.
        const QString middle = path->fontMetrics().elidedText(deep, Qt::ElideMiddle, path->contentsRect().width());
        QVERIFY(middle.endsWith("/Final") && middle.contains(QChar(0x2026)));
        QImage drawn(path->size(), QImage::Format_ARGB32);
        drawn.fill(path->palette().color(path->backgroundRole()));
        QPainter p(&drawn);
        path->style()->drawItemText(&p, path->contentsRect(), path->alignment() | Qt::TextSingleLine, path->palette(),
                                    true, middle, path->foregroundRole());
        p.end();
        QVERIFY(path->grab().toImage().convertToFormat(QImage::Format_RGB32) == drawn.convertToFormat(QImage::Format_RGB32));
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
