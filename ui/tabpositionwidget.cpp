#include "tabpositionwidget.h"

#include "config.h"
#include "screen.h"
#include "settingskeys.h"
#include "vrxresource.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace {
// Posted on show: the page rereads the stored position once it has its size.
constexpr QEvent::Type RefreshEvent = QEvent::Type(1001);
} // namespace

TabPositionWidgetBase::TabPositionWidgetBase(QWidget* parent, const QString& name)
    : QWidget(parent)
{
    setObjectName(name.isEmpty() ? QStringLiteral("TabPositionWidgetBase") : name);
    w1 = new QGroupBox(tr("Tab position"), this);
    w1->setObjectName(QStringLiteral("w1"));
    w2 = new QGroupBox(tr("Preview"), this);
    w2->setObjectName(QStringLiteral("w2"));
    buttons = new QButtonGroup(this);
    const char* names[5] = {"top", "bottom", "left", "right", "automatic"};
    const QString texts[5] = {tr("Top"), tr("Bottom"), tr("Left"), tr("Right"), tr("Auto")};
    for (int i = 0; i < 5; ++i) {
        radio[i] = new QRadioButton(texts[i], w1);
        radio[i]->setObjectName(QLatin1String(names[i]));
        buttons->addButton(radio[i], i);
    }
    image = new QLabel(w2);
    image->setObjectName(QStringLiteral("image"));
    image->setAlignment(Qt::AlignCenter);
    image->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    connect(buttons, &QButtonGroup::idPressed, this, &TabPositionWidgetBase::positionChanged);
}

TabPositionWidget::TabPositionWidget(QWidget* parent, const QString& name)
    : TabPositionWidgetBase(parent, name)
{
    const bool portrait = isPortrait();
    auto* box = new QBoxLayout(portrait ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, this);
    box->addWidget(w1);
    box->addWidget(w2, 1);
    auto* grid = new QGridLayout(w1);
    for (int i = 0; i < 5; ++i) {
        if (portrait)
            grid->addWidget(radio[i], i / 2, i % 2);
        else
            grid->addWidget(radio[i], i, 0);
    }
    auto* inner = new QVBoxLayout(w2);
    inner->addWidget(image, 1);

    Config cfg(QString::fromLatin1(Settings::AppFile));
    const int pos = cfg.read(Settings::Options::TabPosition);
    if (QAbstractButton* b = buttons->button(pos))
        b->setChecked(true);
}

int TabPositionWidget::selected() const
{
    return buttons->checkedId();
}

void TabPositionWidget::save()
{
    Config cfg(QString::fromLatin1(Settings::AppFile));
    if (selected() >= 0)
        cfg.write(Settings::Options::TabPosition, selected());
}

void TabPositionWidget::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    QCoreApplication::postEvent(this, new QEvent(RefreshEvent));
}

bool TabPositionWidget::event(QEvent* e)
{
    if (e->type() == RefreshEvent) {
        // The choice not yet stored survives leaving the page and coming back.
        int id = selected();
        if (id < 0) {
            Config cfg(QString::fromLatin1(Settings::AppFile));
            id = cfg.read(Settings::Options::TabPosition);
        }
        positionChanged(id);
        return true;
    }
    return TabPositionWidgetBase::event(e);
}

void TabPositionWidget::positionChanged(int id)
{
    if (QAbstractButton* b = buttons->button(id))
        b->setChecked(true);
    const bool portrait = isPortrait();
    int pos = id;
    if (pos == 4)
        pos = portrait ? 0 : 2;
    m_preview = QStringLiteral("%1%2").arg(portrait ? QLatin1Char('v') : QLatin1Char('h')).arg(pos);
    showPreview();
}

void TabPositionWidget::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (!m_preview.isEmpty())
        showPreview();
}

void TabPositionWidget::showPreview()
{
    QImage img = findImage(m_preview);
    const QSize room = image->size();
    if (!img.isNull() && room.width() > 0 && room.height() > 0
        && (img.width() > room.width() || img.height() > room.height()))
        img = img.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    image->setPixmap(QPixmap::fromImage(img));
}
