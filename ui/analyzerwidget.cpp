#include "analyzerwidget.h"

#include "config.h"
#include "screen.h"
#include "settingskeys.h"
#include "visualization.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

AnalyzerWidgetBase::AnalyzerWidgetBase(QWidget* parent, const QString& name)
    : QWidget(parent)
{
    setObjectName(name.isEmpty() ? QStringLiteral("AnalyzerWidgetBase") : name);
    box = new QVBoxLayout(this);
    svis = new QCheckBox(tr("Show Analyzer"), this);
    svis->setObjectName(QStringLiteral("svis"));
    speacks = new QCheckBox(tr("Show peaks"), this);
    speacks->setObjectName(QStringLiteral("speacks"));
    box->addWidget(svis);
    box->addWidget(speacks);
    auto* form = new QFormLayout;
    auto spin = [this, form](const char* name, const QString& label, int min) {
        auto* s = new QSpinBox(this);
        s->setObjectName(QLatin1String(name));
        s->setMinimum(min);
        form->addRow(label, s);
        return s;
    };
    num = spin("num", tr("Num bars:"), 3);
    bwidth = spin("bwidth", tr("Bar width:"), 1);
    bspace = spin("bspace", tr("Space:"), 0);
    mheight = spin("mheight", tr("Height:"), 30);
    box->addLayout(form);
    for (QCheckBox* c : {svis, speacks})
        connect(c, &QCheckBox::toggled, this, &AnalyzerWidgetBase::updateAnalyzer);
    for (QSpinBox* s : {num, bwidth, bspace, mheight})
        connect(s, &QSpinBox::valueChanged, this, &AnalyzerWidgetBase::updateAnalyzer);
}

AnalyzerWidget::AnalyzerWidget(QWidget* parent, const QString& name)
    : AnalyzerWidgetBase(parent, name)
{
    for (QSpinBox* s : {num, bwidth, bspace, mheight})
        s->setMaximum(9999);
    box->addStretch(1);
    m_preview = new Visualization(nullptr, this, "preview");
    // The preview grows up to the bar height chosen (its maximum height).
    m_preview->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    box->addWidget(m_preview, 1);
    load();
}

void AnalyzerWidget::load()
{
    using namespace Settings::Analyzer;
    const bool small = isSmallScreen();
    {
        const QSignalBlocker b1(svis), b2(speacks), b3(num), b4(bwidth), b5(bspace), b6(mheight);
        Config cfg(QString::fromLatin1(Settings::AppFile));
        svis->setChecked(cfg.read(Visible(small)) != 0);
        speacks->setChecked(cfg.read(Peaks(small)) != 0);
        num->setValue(cfg.read(Bars(small)));
        bwidth->setValue(cfg.read(Width(small)));
        bspace->setValue(cfg.read(Space(small)));
        mheight->setValue(cfg.read(Height(small)));
    }
    updateAnalyzer();
}

void AnalyzerWidget::updateAnalyzer()
{
    using namespace Settings::Analyzer;
    {
        Config cfg(QString::fromLatin1(Settings::AppFile));
        cfg.write(Visible(false), svis->isChecked() ? 1 : 0);
        cfg.write(Peaks(false), speacks->isChecked() ? 1 : 0);
        cfg.write(Bars(false), num->value());
        cfg.write(Width(false), bwidth->value());
        cfg.write(Space(false), bspace->value());
        cfg.write(Height(false), mheight->value());
    }
    if (!svis->isChecked()) {
        m_preview->stopAnalyzer();
        m_preview->hide();
    } else {
        m_preview->show();
        m_preview->startAnalyzer();
    }
    m_preview->setAnalyzerOptions(speacks->isChecked(), num->value(), bwidth->value(), bspace->value(),
                                  mheight->value());
    // Where the page is short the preview would shrink to a flat line: it keeps room for
    // bars to show, and the page scrolls.
    m_preview->setMinimumHeight(qMin(mheight->value(), 3 * fontMetrics().height()));
}
