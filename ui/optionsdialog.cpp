#include "optionsdialog.h"

#include "analyzerwidget.h"
#include "anotheroptionswidget.h"
#include "colorswidget.h"
#include "config.h"
#include "keyswidget.h"
#include "screen.h"
#include "settingskeys.h"
#include "tabpositionwidget.h"
#include "vrtabwidget.h"
#include "vrxokcancel.h"
#include "vrxresource.h"

#include <QScrollArea>
#include <QVBoxLayout>

OptionsDialog::OptionsDialog(QWidget* parent)
    : VRXDialog(parent, QStringLiteral("OptionsDialog"))
{
    setCaption(tr("Options"));

    // What the previews will write, as it is now.
    {
        Config cfg(QString::fromLatin1(Settings::AppFile));
        const QString colorGroup = QString::fromLatin1(Settings::ListColors::TrackListGroup);
        for (const char* key : {"c1", "c2", "c3", "c4"})
            m_previewed.append({colorGroup, QLatin1String(key), false, QString()});
        const QString analyzerGroup = QString::fromLatin1(Settings::Analyzer::Group);
        for (const char* key : {"vis", "peaks", "bars", "width", "space", "height"})
            m_previewed.append({analyzerGroup, QLatin1String(key), false, QString()});
        for (Saved& s : m_previewed) {
            cfg.setGroup(s.group);
            s.present = cfg.hasKey(s.key);
            s.value = cfg.readEntry(s.key);
        }
    }

    m_tabs = new VRTabWidget(this, QStringLiteral("tabs"));
    m_tabs->setTabPosition(isPortrait() ? 0 : 2);
    m_setup = new AnotherOptionsWidget(m_tabs);
    m_colors = new ColorsWidget(m_tabs);
    m_keys = new KeysWidget(m_tabs);
    m_tabPosition = new TabPositionWidget(m_tabs);
    m_analyzer = new AnalyzerWidget(m_tabs);
    // Pages scroll rather than push the dialog past a small display.
    auto scrolled = [this](QWidget* page) {
        auto* area = new QScrollArea(m_tabs);
        area->setFrameShape(QFrame::NoFrame);
        area->setWidgetResizable(true);
        area->setWidget(page);
        return area;
    };
    m_tabs->addTab(scrolled(m_setup), tr("Setup"), findIconSet(QStringLiteral("package_utilities")));
    m_tabs->addTab(scrolled(m_colors), tr("Colors"), findIconSet(QStringLiteral("color")));
    m_tabs->addTab(scrolled(m_keys), tr("Key", "tab of the key bindings"), findIconSet(QStringLiteral("key_bindings")));
    m_tabs->addTab(scrolled(m_tabPosition), tr("Style"), findIconSet(QStringLiteral("view")));
    m_tabs->addTab(scrolled(m_analyzer), tr("Analyzer"), findIconSet(QStringLiteral("analyzer")));

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(m_tabs);
    auto* buttons = new VRXOkCancel(this);
    box->addWidget(buttons);
    connect(buttons, &VRXOkCancel::ok, this, &QDialog::accept);
    connect(buttons, &VRXOkCancel::cancel, this, &QDialog::reject);

    Config cfg(QString::fromLatin1(Settings::AppFile));
    const int page = cfg.read(Settings::Options::OptionsPage);
    if (page >= 1 && page <= 5)
        m_tabs->setCurrentIndex(page - 1);
    connect(m_tabs, &VRTabWidget::currentPageChanged, this, &OptionsDialog::pageActivated);
    setWindowState(windowState() | Qt::WindowMaximized);
}

void OptionsDialog::pageActivated(QWidget* page)
{
    const int index = m_tabs->indexOf(page);
    if (index < 0)
        return;
    Config cfg(QString::fromLatin1(Settings::AppFile));
    cfg.write(Settings::Options::OptionsPage, index + 1);
}

void OptionsDialog::store()
{
    m_setup->save();
    m_keys->saveKeys();
    m_tabPosition->save();
    m_analyzer->updateAnalyzer();
}

void OptionsDialog::reject()
{
    {
        Config cfg(QString::fromLatin1(Settings::AppFile));
        for (const Saved& s : m_previewed) {
            cfg.setGroup(s.group);
            if (s.present)
                cfg.writeEntry(s.key, s.value);
            else
                cfg.removeEntry(s.key);
        }
    }
    VRXDialog::reject();
}
