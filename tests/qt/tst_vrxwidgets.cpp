// The toolkit: dialogs' answers (each dialog is answered through the hook), the zoom keys,
// and pictures: every one the program names, the look-up order by display size, sized
// pictures, and bordered pictures of sizes that do not fit.
#include "testmain.h"

#include "screenshot.h"
#include "vrxinputdialog.h"
#include "vrxmainwindow.h"
#include "vrxmessagebox.h"
#include "vrxpushbutton.h"

#include <QFontMetrics>
#include <QLabel>

namespace {
class ZoomWindow : public VRXMainWindow
{
public:
    int zoomIns = 0, zoomOuts = 0;
    void zoomin() override { ++zoomIns; }
    void zoomout() override { ++zoomOuts; }
};

void put(const QString& path, QColor colour, QSize size = QSize(4, 4))
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage img(size, QImage::Format_ARGB32);
    img.fill(colour);
    QVERIFY(img.save(path, "PNG"));
}
} // namespace

class TestVRXWidgets : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        VRXDialog::setAnswerHook(nullptr);
        useDisplay(QSize(480, 640));
    }

    void inputDialogAnswers()
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
    }

    void messageBoxes()
    {
        // The safe choice comes first and is the default; the one clicked is returned.
        VRXDialog::setAnswerHook([&](VRXDialog* d) {
            auto* box = qobject_cast<VRXMessageBox*>(d);
            QVERIFY(box->button(1)->isDefault());
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

    void zoomKeys()
    {
        // The actions and the zoom keys of the device (0x2010 in, 0x200f out) and of
        // desktop keyboards.
        ZoomWindow w;
        QVERIFY(!w.action("zoomin")->icon().isNull());
        w.action("zoomin")->trigger();
        w.action("zoomout")->trigger();
        for (int key : {0x2010, 0x200f, int(Qt::Key_ZoomIn)}) {
            QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(&w, &e);
        }
        QCOMPARE(w.zoomIns, 3);
        QCOMPARE(w.zoomOuts, 2);
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
        for (QSize d : {QSize(240, 320), QSize(480, 640)}) {
            useDisplay(d);
            for (const char* name : names)
                QVERIFY2(!findImage(name).isNull(), name);
            // Large displays get the double-size pictures, small ones the normal size.
            QCOMPARE(findImage("play").width(), d.width() >= 480 ? 40 : 20);
            QCOMPARE(findImage("frame").width(), 40);
        }
    }

    // Each picture a..f exists in the folders from some step of the order on: the
    // program's large, the toolkit's large, the program's, the toolkit's, the shared large
    // and the shared pictures; large ones only on a large display. A folder with a
    // picture's name is not a picture. Sized pictures come from the font's size bucket.
    void pictureLookUpOrder_data()
    {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<QString>("colours"); // of pictures a..f
        QTest::newRow("large") << QSize(640, 480) << "RRGBRY";
        QTest::newRow("small") << QSize(240, 320) << "GGGBYY";
    }
    void pictureLookUpOrder()
    {
        QFETCH(QSize, display);
        QFETCH(QString, colours);
        QTemporaryDir tree;
        const std::pair<const char*, Qt::GlobalColor> pictures[] = {
            {"pics144/Quavrix/a", Qt::red}, {"pics/Quavrix/a", Qt::green}, {"pics144/vrx/b", Qt::red},
            {"pics/Quavrix/b", Qt::green}, {"pics/Quavrix/c", Qt::green}, {"pics/vrx/c", Qt::blue},
            {"pics/vrx/d", Qt::blue}, {"pics144/d", Qt::red}, {"pics144/e", Qt::red}, {"pics/e", Qt::yellow},
            {"pics144/only144", Qt::red}, {"pics/f", Qt::yellow}};
        for (const auto& [name, colour] : pictures)
            put(tree.filePath(QLatin1String(name) + QStringLiteral(".png")), colour);
        QDir().mkpath(tree.filePath(QStringLiteral("pics144/Quavrix/f.png")));
        for (int s : {16, 24, 32})
            put(tree.filePath(QStringLiteral("pics/Quavrix/%1/s.png").arg(s)), Qt::red, QSize(s, s));
        const QByteArray shared = qgetenv("QUAVRIX_QPEDIR");
        qputenv("QUAVRIX_QPEDIR", tree.path().toUtf8());
        useDisplay(display);
        QString got;
        for (char name = 'a'; name <= 'f'; ++name) {
            const QRgb c = findImage(QString(QLatin1Char(name))).pixel(0, 0);
            got += c == QColor(Qt::red).rgb() ? 'R' : c == QColor(Qt::green).rgb() ? 'G' : c == QColor(Qt::blue).rgb() ? 'B' : 'Y';
        }
        QCOMPARE(got, colours);
        QCOMPARE(findPixmap("only144").isNull(), display.width() < 480);
        QVERIFY(findImage("missing").isNull() && findIconSet("missing").isNull());
        for (int height : {1, 16, 17, 24, 25, 80}) {
            QCOMPARE(pictureSizeBucket(height), height <= 16 ? 16 : height <= 24 ? 24 : 32);
            QFont f;
            f.setPixelSize(height);
            QCOMPARE(findSizedImage("s", QFontMetrics(f)).width(), pictureSizeBucket(QFontMetrics(f).height()));
        }
        qputenv("QUAVRIX_QPEDIR", shared);
        resetPictureCache();
    }

    void borderedPictureOfASizeThatDoesNotFit_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<int>>("borders"); // frame, frames, left, right, top, bottom
        QTest::addColumn<bool>("drawn");
        QTest::newRow("too narrow") << QSize(24, 30) << QList<int>{0, 1, 12, 13, 11, 11} << false;
        QTest::newRow("too low") << QSize(30, 21) << QList<int>{0, 1, 12, 13, 11, 11} << false;
        QTest::newRow("borders fit") << QSize(25, 22) << QList<int>{0, 1, 12, 13, 11, 11} << true;
        QTest::newRow("no height") << QSize(30, 0) << QList<int>{0, 1, 0, 0, 0, 0} << false;
        QTest::newRow("no width") << QSize(0, 30) << QList<int>{0, 1, 0, 0, 1, 1} << false;
        QTest::newRow("no top") << QSize(30, 30) << QList<int>{0, 1, 1, 1, 0, 1} << false;
        QTest::newRow("no bottom") << QSize(30, 30) << QList<int>{0, 1, 1, 1, 1, 0} << false;
        QTest::newRow("negative") << QSize(30, 30) << QList<int>{0, 1, -1, 1, 1, 1} << false;
        // A frame past the picture, or no picture: nothing to draw from, the size stays.
        QTest::newRow("frame past") << QSize(30, 30) << QList<int>{5, 2, 1, 1, 1, 1} << true;
    }
    void borderedPictureOfASizeThatDoesNotFit()
    {
        QFETCH(QSize, size);
        QFETCH(QList<int>, borders);
        QFETCH(bool, drawn);
        QImage img(20, 20, QImage::Format_ARGB32);
        img.fill(Qt::white);
        const auto& b = borders;
        const QPixmap out = drawBorderedImage(size, img, b[0], b[1], b[2], b[3], b[4], b[5], nullptr);
        QCOMPARE(out.isNull(), !drawn);
        if (drawn)
            QCOMPARE(out.size(), size);
        QCOMPARE(drawBorderedImage(size, QImage(), b[0], b[1], b[2], b[3], b[4], b[5], nullptr).isNull(), !drawn);
    }
};

QUAVRIX_TEST_MAIN(TestVRXWidgets)
#include "tst_vrxwidgets.moc"
