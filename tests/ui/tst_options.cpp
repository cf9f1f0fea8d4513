// The options dialog: each page reads and writes its settings, key capture, previews, and
// Cancel putting back what the previews stored.
#include "testmain.h"

#include "../qt/screenshot.h"
#include "analyzerwidget.h"
#include "anotheroptionswidget.h"
#include "colorswidget.h"
#include "config.h"
#include "keyswidget.h"
#include "optionsdialog.h"
#include "tabpositionwidget.h"
#include "visualization.h"
#include "vrtabwidget.h"
#include "vrxcolorbutton.h"
#include "vrxlistview.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>

namespace {

QString entry(const char* group, const char* key)
{
    Config cfg(QStringLiteral("Quavrix"));
    cfg.setGroup(QLatin1String(group));
    return cfg.hasKey(QLatin1String(key)) ? cfg.readEntry(QLatin1String(key)) : QStringLiteral("<none>");
}

void setEntry(const char* group, const char* key, const QString& value)
{
    Config cfg(QStringLiteral("Quavrix"));
    cfg.setGroup(QLatin1String(group));
    cfg.writeEntry(QLatin1String(key), value);
}

template <typename T>
T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no child %s", name);
    return c;
}

void press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent e(QEvent::KeyPress, key, mods);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QFile::remove(Config::filePath(QStringLiteral("Quavrix")));
        useDisplay(QSize(480, 640));
    }

    void defaultsAndTheLastPage()
    {
        {
            OptionsDialog dlg;
            QCOMPARE(dlg.tabs()->currentIndex(), 0);
            QCOMPARE(dlg.tabs()->count(), 5);
            QCOMPARE(child<QSpinBox>(&dlg, "interval")->value(), 5);
            QCOMPARE(child<QSpinBox>(&dlg, "pi")->value(), 0);
            for (const char* c : {"loop", "rnd", "backlightOff", "displayOff", "cancel"})
                QVERIFY2(!child<QCheckBox>(&dlg, c)->isChecked(), c);
            QVERIFY(child<QCheckBox>(&dlg, "custom")->isChecked());
            dlg.tabs()->setCurrentIndex(4);
        }
        QCOMPARE(entry("Options", "optionsPage"), QStringLiteral("5"));
        QCOMPARE(OptionsDialog().tabs()->currentIndex(), 4);
        for (const char* page : {"0", "6"}) {
            setEntry("Options", "optionsPage", QLatin1String(page));
            QCOMPARE(OptionsDialog().tabs()->currentIndex(), 0);
        }
    }

    void setupPageRoundTrip()
    {
        for (auto [k, v] : {std::pair{"interval", "12"}, {"loop", "1"}, {"rnd", "0"}, {"backlight", "1"},
                            {"displayOff", "0"}, {"poweri", "7"}})
            setEntry("Options", k, QLatin1String(v));
        AnotherOptionsWidget page;
        QCOMPARE(child<QSpinBox>(&page, "interval")->value(), 12);
        QCOMPARE(child<QSpinBox>(&page, "pi")->value(), 7);
        QVERIFY(child<QCheckBox>(&page, "loop")->isChecked());
        QVERIFY(!child<QCheckBox>(&page, "rnd")->isChecked());
        QVERIFY(child<QCheckBox>(&page, "backlightOff")->isChecked());
        child<QCheckBox>(&page, "rnd")->setChecked(true);
        child<QCheckBox>(&page, "backlightOff")->setChecked(false);
        // the display-off text wraps beside its box: a click on the text sets the box
        QLabel* text = nullptr;
        for (QLabel* l : page.findChildren<QLabel*>())
            if (l->text().startsWith(QLatin1String("Display off")))
                text = l;
        QVERIFY(text);
        QTest::mouseClick(text, Qt::LeftButton);
        QVERIFY(child<QCheckBox>(&page, "displayOff")->isChecked());
        child<QSpinBox>(&page, "interval")->setValue(900); // beyond 700
        child<QSpinBox>(&page, "pi")->setValue(-1);        // below 0
        page.save();
        QCOMPARE(entry("Options", "interval"), QStringLiteral("700"));
        QCOMPARE(entry("Options", "poweri"), QStringLiteral("0"));
        QCOMPARE(entry("Options", "loop"), QStringLiteral("1"));
        QCOMPARE(entry("Options", "rnd"), QStringLiteral("1"));
        QCOMPARE(entry("Options", "backlight"), QStringLiteral("0"));
        QCOMPARE(entry("Options", "displayOff"), QStringLiteral("1"));
    }

    void keyCapture()
    {
        KeysWidget page;
        // Defaults: Up, Down, Space, Right, Left, none, none.
        const QList<int> defaults = {0x1013, 0x1015, 0x20, 0x1014, 0x1012, 0, 0};
        for (int i = 1; i <= 7; ++i)
            QCOMPARE(page.code(i), defaults[i - 1]);
        auto* next = child<QPushButton>(&page, "k4");
        auto* forward = child<QPushButton>(&page, "k6");
        auto* rewind = child<QPushButton>(&page, "k7");
        QCOMPARE(next->text(), QStringLiteral("Right"));
        QCOMPARE(forward->text(), QStringLiteral("None"));

        // No button down: a key changes nothing.
        press(&page, Qt::Key_F5);
        QCOMPARE(page.code(6), 0);

        // Right on Fast Forward takes it from Next.
        forward->setChecked(true);
        QCOMPARE(page.activeKeyButton(), forward);
        press(&page, Qt::Key_Right);
        QCOMPARE(page.code(6), 0x1014);
        QCOMPARE(page.code(4), 0);
        QCOMPARE(next->text(), QStringLiteral("None"));
        QVERIFY(!forward->isChecked());
        QVERIFY(!page.activeKeyButton());

        // One modifier adds its bit, two add none; Shift alone does nothing.
        rewind->setChecked(true);
        press(&page, Qt::Key_Shift, Qt::ShiftModifier);
        QVERIFY(rewind->isChecked());
        press(&page, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(page.code(7), 0x201012);
        QCOMPARE(rewind->text(), QStringLiteral("Shift+Left"));
        QCOMPARE(page.code(5), 0x1012); // Prev keeps plain Left
        next->setChecked(true);
        press(&page, Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(page.code(4), 0x1014);
        QCOMPARE(page.code(6), 0); // taken from Fast Forward
        next->setChecked(true);
        press(&page, Qt::Key_A, Qt::AltModifier);
        QCOMPARE(page.code(4), 0x800041);

        // Backspace clears a bound button and binds itself on an empty one.
        rewind->setChecked(true);
        press(&page, Qt::Key_Backspace);
        QCOMPARE(page.code(7), 0);
        QCOMPARE(rewind->text(), QStringLiteral("None"));
        rewind->setChecked(true);
        press(&page, Qt::Key_Backspace);
        QCOMPARE(page.code(7), 0x1003);

        // Escape is left for the dialog.
        forward->setChecked(true);
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&page, &esc);
        QVERIFY(!esc.isAccepted());
        QCOMPARE(page.code(6), 0);

        child<QCheckBox>(&page, "cancel")->setChecked(true);
        page.saveKeys();
        QCOMPARE(entry("Options", "key_next"), QString::number(0x800041));
        QCOMPARE(entry("Options", "key_forward"), QStringLiteral("0"));
        KeysWidget again;
        QCOMPARE(again.code(4), 0x800041);
        QVERIFY(child<QCheckBox>(&again, "cancel")->isChecked());
    }

    void tabPositionPreview_data()
    {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("picture");
        QTest::newRow("auto, portrait: top") << QSize(480, 640) << 4 << "v0";
        QTest::newRow("auto, landscape: left") << QSize(640, 480) << 4 << "h2";
        QTest::newRow("left, landscape") << QSize(640, 480) << 2 << "h2";
        QTest::newRow("bottom, portrait") << QSize(480, 640) << 1 << "v1";
    }
    void tabPositionPreview()
    {
        QFETCH(QSize, display);
        QFETCH(int, id);
        QFETCH(QString, picture);
        useDisplay(display);
        TabPositionWidget page;
        QCOMPARE(page.selected(), 4); // the default
        child<QRadioButton>(&page, "top")->setChecked(true);
        page.positionChanged(id);
        QCOMPARE(page.previewName(), picture);
        QCOMPARE(page.selected(), id);
        // Shown again before OK: the preview keeps the choice, not the stored position.
        page.show();
        QCoreApplication::processEvents();
        QCOMPARE(page.previewName(), picture);
        page.save();
        QCOMPARE(entry("Options", "tabpos"), QString::number(id));
        QCOMPARE(TabPositionWidget().selected(), id);
    }

    void colorsStoredAsPicked()
    {
        ColorsWidget page;
        VRXListView* lv = page.preview();
        QCOMPARE(lv->colorMode(), 1);
        QCOMPARE(lv->color(1), QColor("#336699"));
        page.picker(2)->choose(QColor("#123456"));
        QCOMPARE(lv->color(2), QColor("#123456"));
        QCOMPARE(entry("listview", "c2"), QStringLiteral("#123456"));
        // Custom off: the preview shows palette colours and a pick stores nothing.
        child<QCheckBox>(&page, "custom")->click();
        QCOMPARE(lv->colorMode(), 0);
        QVERIFY(!page.picker(1)->isEnabled());
        page.picker(1)->choose(QColor("#654321"));
        QCOMPARE(entry("listview", "c1"), QStringLiteral("#336699"));
        // "grid" is only read.
        QCOMPARE(entry("listview", "grid"), QStringLiteral("<none>"));
        ColorsWidget again;
        QCOMPARE(again.picker(2)->color(), QColor("#123456"));
    }

    void analyzerPreviewFollowsTheControls()
    {
        useDisplay(QSize(240, 320));
        AnalyzerWidget page;
        // Small-screen defaults.
        QVERIFY(child<QCheckBox>(&page, "svis")->isChecked());
        QCOMPARE(child<QSpinBox>(&page, "num")->value(), 17);
        QCOMPARE(child<QSpinBox>(&page, "mheight")->value(), 50);
        QVERIFY(page.preview()->isRunning() || page.preview()->isPending());
        page.resize(240, 320);
        page.show();
        QTRY_VERIFY(page.preview()->isRunning());
        QVERIFY(page.preview()->isVisible());
        child<QSpinBox>(&page, "num")->setValue(2);
        QCOMPARE(entry("Analyzer", "bars"), QStringLiteral("3"));
        child<QSpinBox>(&page, "mheight")->setValue(10);
        QCOMPARE(entry("Analyzer", "height"), QStringLiteral("30"));
        child<QCheckBox>(&page, "svis")->setChecked(false);
        QVERIFY(!page.preview()->isRunning() && !page.preview()->isPending());
        QVERIFY(!page.preview()->isVisible());
        QCOMPARE(entry("Analyzer", "vis"), QStringLiteral("0"));
    }

    void cancelPutsBackWhatPreviewsStored()
    {
        setEntry("listview", "c1", QStringLiteral("#010203"));
        setEntry("Analyzer", "bars", QStringLiteral("20"));
        {
            OptionsDialog dlg;
            dlg.colorsPage()->picker(1)->choose(QColor("#ff0000"));
            dlg.colorsPage()->picker(4)->choose(QColor("#00ff00"));
            child<QSpinBox>(&dlg, "num")->setValue(40);
            child<QCheckBox>(&dlg, "svis")->setChecked(true);
            child<QCheckBox>(&dlg, "loop")->setChecked(true);
            QCOMPARE(entry("listview", "c1"), QStringLiteral("#ff0000"));
            QCOMPARE(entry("Analyzer", "bars"), QStringLiteral("40"));
            dlg.reject();
        }
        QCOMPARE(entry("listview", "c1"), QStringLiteral("#010203"));
        QCOMPARE(entry("listview", "c4"), QStringLiteral("<none>"));
        QCOMPARE(entry("Analyzer", "bars"), QStringLiteral("20"));
        QCOMPARE(entry("Analyzer", "vis"), QStringLiteral("<none>"));
        QCOMPARE(entry("Options", "loop"), QStringLiteral("<none>"));
        // OK keeps them.
        {
            OptionsDialog dlg;
            dlg.colorsPage()->picker(1)->choose(QColor("#ff0000"));
            dlg.accept();
            dlg.store();
        }
        QCOMPARE(entry("listview", "c1"), QStringLiteral("#ff0000"));
    }
};

QUAVRIX_TEST_MAIN(TestOptions)
#include "tst_options.moc"
