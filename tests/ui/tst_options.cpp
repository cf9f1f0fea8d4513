// The options dialog: each page reads and writes its settings, key capture, previews, and
// Cancel putting back what the previews stored.
#include "testmain.h"

#include "../qt/screenshot.h"
#include "anotheroptionswidget.h"
#include "colorswidget.h"
#include "config.h"
#include "keyswidget.h"
#include "optionsdialog.h"
#include "tabpositionwidget.h"
#include "vrtabwidget.h"
#include "vrxcolorbutton.h"
#include "vrxlistview.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

// Each key of the group as stored, "-" where none is.
QString entries(const char* group, const QStringList& keys)
{
    Config cfg(QStringLiteral("Quavrix"));
    cfg.setGroup(QLatin1String(group));
    QStringList out;
    for (const QString& k : keys)
        out << (cfg.hasKey(k) ? cfg.readEntry(k) : QStringLiteral("-"));
    return out.join(' ');
}

void setEntry(const char* group, const char* key, const QString& value)
{
    Config cfg(QStringLiteral("Quavrix"));
    cfg.setGroup(QLatin1String(group));
    cfg.writeEntry(QLatin1String(key), value);
}

template <typename T> T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no child %s", name);
    return c;
}

QList<int> codes(const KeysWidget& page)
{
    QList<int> out;
    for (int i = 1; i <= 7; ++i)
        out << page.code(i);
    return out;
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

    void theLastPageComesBack()
    {
        OptionsDialog().tabs()->setCurrentIndex(4);
        QCOMPARE(entries("Options", {"optionsPage"}), QStringLiteral("5"));
        QCOMPARE(OptionsDialog().tabs()->currentIndex(), 4);
        for (const char* page : {"0", "6"}) { // pages count from 1
            setEntry("Options", "optionsPage", QLatin1String(page));
            QCOMPARE(OptionsDialog().tabs()->currentIndex(), 0);
        }
    }

    void setupPageRoundTrip()
    {
        const QStringList keys = {"interval", "poweri", "loop", "rnd", "backlight", "displayOff"};
        for (int i = 0; i < keys.size(); ++i)
            setEntry("Options", qPrintable(keys[i]), QStringList({"12", "7", "1", "0", "1", "0"})[i]);
        AnotherOptionsWidget page;
        QCOMPARE(child<QSpinBox>(&page, "interval")->value() * 100 + child<QSpinBox>(&page, "pi")->value(), 1207);
        for (auto [box, on] : {std::pair{"loop", true}, {"rnd", false}, {"backlightOff", true}, {"displayOff", false}})
            QVERIFY2(child<QCheckBox>(&page, box)->isChecked() == on, box);
        child<QCheckBox>(&page, "rnd")->setChecked(true);
        child<QCheckBox>(&page, "backlightOff")->setChecked(false);
        // The display-off text wraps beside its box: a click on the text sets the box.
        for (QLabel* l : page.findChildren<QLabel*>())
            if (l->text().startsWith(QLatin1String("Display off")))
                QTest::mouseClick(l, Qt::LeftButton);
        child<QSpinBox>(&page, "interval")->setValue(900); // beyond 700
        child<QSpinBox>(&page, "pi")->setValue(-1);        // below 0
        page.save();
        QCOMPARE(entries("Options", keys), QStringLiteral("700 0 1 1 0 1"));
    }

    // Key codes are Qt 2 codes: 0x1012 Left, 0x1014 Right, 0x1003 Backspace; one modifier
    // adds its bit (Shift 0x200000, Alt 0x800000), two add none.
    void keyCapture_data()
    {
        QTest::addColumn<QString>("presses"); // a button held down ("k4"), then keys
        QTest::addColumn<QList<int>>("codes");
        const QList<int> defaults = {0x1013, 0x1015, 0x20, 0x1014, 0x1012, 0, 0};
        auto with = [&](int button, int code, int from = 0) {
            QList<int> c = defaults;
            c[button - 1] = code;
            if (from)
                c[from - 1] = 0;
            return c;
        };
        QTest::newRow("defaults: Up, Down, Space, Right, Left") << "" << defaults;
        QTest::newRow("no button down: nothing") << "F5" << defaults;
        QTest::newRow("a key bound elsewhere moves") << "k6 Right" << with(6, 0x1014, 4);
        QTest::newRow("Shift with a key") << "k7 Shift+Left" << with(7, 0x201012);
        QTest::newRow("Shift alone waits for the key") << "k7 Shift Shift+Left" << with(7, 0x201012);
        QTest::newRow("Alt with a key") << "k4 Alt+A" << with(4, 0x800041);
        QTest::newRow("two modifiers: the plain key") << "k6 Ctrl+Shift+Right" << with(6, 0x1014, 4);
        QTest::newRow("Backspace clears a bound button") << "k1 Backspace" << with(1, 0);
        QTest::newRow("Backspace binds itself on an empty one") << "k7 Backspace" << with(7, 0x1003);
        QTest::newRow("Escape is left for the dialog") << "k6 Escape" << defaults;
        QTest::newRow("one key after another") << "k6 Right k4 Right" << defaults;
    }
    void keyCapture()
    {
        QFETCH(QString, presses);
        KeysWidget page;
        for (const QString& p : presses.split(' ', Qt::SkipEmptyParts)) {
            if (p.startsWith('k')) {
                child<QPushButton>(&page, qPrintable(p))->setChecked(true);
                continue;
            }
            const QKeyCombination k = p == "Shift" ? QKeyCombination(Qt::ShiftModifier, Qt::Key_Shift)
                                                   : QKeySequence::fromString(p)[0];
            QKeyEvent e(QEvent::KeyPress, k.key(), k.keyboardModifiers());
            QCoreApplication::sendEvent(&page, &e);
            QVERIFY(k.key() != Qt::Key_Escape || !e.isAccepted());
        }
        QTEST(codes(page), "codes");
        child<QCheckBox>(&page, "cancel")->setChecked(true);
        page.saveKeys();
        KeysWidget again;
        QTEST(codes(again), "codes");
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
        useDisplay(display);
        TabPositionWidget page;
        QCOMPARE(page.selected(), 4); // the default
        child<QRadioButton>(&page, "top")->setChecked(true);
        page.positionChanged(id);
        QTEST(page.previewName(), "picture");
        // Shown again before OK: the preview keeps the choice, not the stored position.
        page.show();
        QCoreApplication::processEvents();
        QTEST(page.previewName(), "picture");
        page.save();
        QCOMPARE(entries("Options", {"tabpos"}), QString::number(id));
        QCOMPARE(TabPositionWidget().selected(), id);
    }

    void colorsStoredAsPicked()
    {
        ColorsWidget page;
        VRXListView* lv = page.preview();
        page.picker(2)->choose(QColor("#123456"));
        QCOMPARE(lv->color(2), QColor("#123456"));
        // Custom off: the preview shows palette colours and a pick stores nothing.
        child<QCheckBox>(&page, "custom")->click();
        QCOMPARE(lv->colorMode(), 0);
        page.picker(1)->choose(QColor("#654321"));
        QCOMPARE(entries("listview", {"c1", "c2", "grid"}), QStringLiteral("#336699 #123456 -")); // c1 the default
        QCOMPARE(ColorsWidget().picker(2)->color(), QColor("#123456"));
    }

    void cancelPutsBackWhatPreviewsStored()
    {
        setEntry("listview", "c1", QStringLiteral("#010203"));
        setEntry("Analyzer", "bars", QStringLiteral("20"));
        for (bool ok : {false, true}) {
            OptionsDialog dlg;
            dlg.colorsPage()->picker(1)->choose(QColor("#ff0000"));
            dlg.colorsPage()->picker(4)->choose(QColor("#00ff00"));
            child<QSpinBox>(&dlg, "num")->setValue(40);
            child<QCheckBox>(&dlg, "loop")->setChecked(true);
            QCOMPARE(entries("listview", {"c1"}) + entries("Analyzer", {"bars"}), QStringLiteral("#ff000040"));
            ok ? dlg.accept() : dlg.reject();
            if (ok)
                dlg.store();
            QCOMPARE(entries("listview", {"c1", "c4"}) + ' ' + entries("Analyzer", {"bars"}) + ' '
                         + entries("Options", {"loop"}),
                     ok ? QStringLiteral("#ff0000 #00ff00 40 1") : QStringLiteral("#010203 - 20 -"));
        }
    }
};

QUAVRIX_TEST_MAIN(TestOptions)
#include "tst_options.moc"
