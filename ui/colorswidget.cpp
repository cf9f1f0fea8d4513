#include "colorswidget.h"

#include "config.h"
#include "settingskeys.h"
#include "vrxcolorbutton.h"
#include "vrxlistview.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

ColorsWidgetBase::ColorsWidgetBase(QWidget* parent, const QString& name)
    : QWidget(parent)
{
    setObjectName(name.isEmpty() ? QStringLiteral("ColorsWidgetBase") : name);
    grid = new QGridLayout(this);
    lv = new VRXListView(this, QStringLiteral("lv"));
    grid->addWidget(lv, 0, 0, 1, 4);
    grid->addWidget(new QLabel(tr("Odd Line:"), this), 1, 0);
    grid->addWidget(new QLabel(tr("Even Line:"), this), 2, 0);
    for (int i = 0; i < 4; ++i) {
        b[i] = new QWidget(this);
        b[i]->setObjectName(QStringLiteral("b%1").arg(i + 1));
        grid->addWidget(b[i], 1 + i / 2, 1 + i % 2);
    }
    grid->setColumnStretch(3, 1);
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    grid->addWidget(Line1, 3, 0, 1, 4);
    custom = new QCheckBox(tr("Custom colors"), this);
    custom->setObjectName(QStringLiteral("custom"));
    grid->addWidget(custom, 4, 0, 1, 4);
    grid->setRowStretch(0, 1);
    connect(custom, &QCheckBox::clicked, this, &ColorsWidgetBase::customChanged);
}

ColorsWidget::ColorsWidget(QWidget* parent, const QString& name)
    : ColorsWidgetBase(parent, name)
{
    using namespace Settings::ListColors;
    for (int i = 0; i < 4; ++i) {
        auto* box = new QHBoxLayout(b[i]);
        box->setContentsMargins(0, 0, 0, 0);
        m_pickers[i] = new VRXColorButton(b[i], i % 2 == 0 ? QStringLiteral("color_line") : QStringLiteral("color_fill"));
        box->addWidget(m_pickers[i]);
        connect(m_pickers[i], &VRXColorButton::activated, this, &ColorsWidget::colorChanged);
    }

    // The track list's five columns and three sample tracks.
    for (const QString& title : {tr("Title"), tr("Artist"), tr("Album"), tr("Year"), tr("Track", "number of the track")})
        lv->addColumn(title);
    const QString artist = tr("Sample Artist"), album = tr("Sample Album");
    const QString titles[3] = {tr("First Song"), tr("Second Song"), tr("Third Song")};
    for (int i = 0; i < 3; ++i) {
        auto* e = new VRXListViewItem(lv, titles[i]);
        e->setText(1, artist);
        e->setText(2, album);
        e->setText(3, QStringLiteral("2001"));
        e->setText(4, QString::number(i + 1));
        e->setKey(0, QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0')));
    }
    lv->sort();
    // The track lists' name selects their settings group, so the preview shares it.
    lv->setObjectName(QString::fromLatin1(TrackListGroup));
    lv->setColorMode(1);

    Config cfg(QString::fromLatin1(Settings::AppFile));
    cfg.setGroup(QString::fromLatin1(TrackListGroup));
    const char* keys[4] = {Background1, Background2, Text1, Text2};
    const char* defaults[4] = {DefaultC1, DefaultC2, DefaultC3, DefaultC4};
    for (int i = 0; i < 4; ++i) {
        const QColor c(cfg.readEntry(QLatin1String(keys[i]), QLatin1String(defaults[i])));
        m_pickers[i]->setColor(c.isValid() ? c : QColor(QLatin1String(defaults[i])));
    }
    custom->setChecked(cfg.readNumEntry(QLatin1String(Grid), DefaultGrid) != 0);
    customChanged();
}

void ColorsWidget::customChanged()
{
    for (VRXColorButton* p : m_pickers)
        p->setEnabled(custom->isChecked());
    colorChanged();
}

void ColorsWidget::colorChanged()
{
    if (custom->isChecked()) {
        const QColor c[4] = {m_pickers[0]->color(), m_pickers[1]->color(), m_pickers[2]->color(),
                             m_pickers[3]->color()};
        lv->setColors(&c[0], &c[1], &c[2], &c[3]);
    } else {
        lv->setColorMode(0);
    }
}
