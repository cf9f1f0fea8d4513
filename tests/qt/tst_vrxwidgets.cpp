// The toolkit: the message box's answers (each answered through the hook) and the zoom keys.
#include "testmain.h"

#include "vrxmainwindow.h"
#include "vrxmessagebox.h"
#include "vrxpushbutton.h"

#include <QLabel>

namespace {
class ZoomWindow : public VRXMainWindow
{
public:
    int zoomIns = 0, zoomOuts = 0;
    void zoomin() override { ++zoomIns; }
    void zoomout() override { ++zoomOuts; }
};

} // namespace

class TestVRXWidgets : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { VRXDialog::setAnswerHook(nullptr); }

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
        w.action("zoomin")->trigger();
        w.action("zoomout")->trigger();
        for (int key : {0x2010, 0x200f, int(Qt::Key_ZoomIn)}) {
            QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
            QCoreApplication::sendEvent(&w, &e);
        }
        QCOMPARE(w.zoomIns, 3);
        QCOMPARE(w.zoomOuts, 2);
    }
};

QUAVRIX_TEST_MAIN(TestVRXWidgets)
#include "tst_vrxwidgets.moc"
