#include "visualization.h"

#include "fixedfft.h"
#include "framepainter.h"

#include <QEvent>
#include <QLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
// One tick counter for the whole program; it picks the history row written at a tick.
int s_tick = 0;

constexpr int Scale = 1000;        // level, peak and speed are in thousandths of a pixel
constexpr int BarFall = 1300;      // per tick
constexpr int NewPeakSpeed = 10;
constexpr int MaxGrowingSpeed = 129999;
constexpr int Border = 11;         // top and bottom border, and the bar area's offset
constexpr int TickMs = 10;
constexpr int IdleTickMs = 250;    // how soon a settled analyzer notices playback
}

Visualization::Visualization(LoopControl* source, QWidget* parent, const char* name)
    : QWidget(parent)
    , m_ownedSource(AnalyzerSource::fromLoopControl(source))
    , m_source(m_ownedSource.get())
{
    setObjectName(QString::fromLatin1(name));
    init();
}

Visualization::Visualization(QWidget* parent, AnalyzerSource* source, const char* name)
    : QWidget(parent)
    , m_source(source)
{
    setObjectName(QString::fromLatin1(name));
    init();
}

Visualization::~Visualization() = default;

void Visualization::init()
{
    m_peaks = true;
    m_barLimit = 10;
    m_barWidth = 4;
    m_space = 2;
    setMaximumHeight(100);
    m_frame = FramePainter::frameImage();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    if (!m_source)
        startAnalyzer();
}

QSize Visualization::minimumSizeHint() const
{
    return QSize(22, 25);
}

QSize Visualization::sizeHint() const
{
    return minimumSizeHint();
}

void Visualization::resetBands()
{
    const int n = std::clamp(m_bands, 0, int(MaxBands));
    std::fill_n(m_level, n, 0);
    std::fill_n(m_peak, n, 0);
    std::fill_n(m_drawnBar, n, 0);
    std::fill_n(m_drawnPeak, n, 0);
    std::fill_n(m_peakSpeed, n, 0);
}

void Visualization::recalcGeometry()
{
    m_height = height() - 22;
    // A zero or negative bar pitch would divide by zero or draw nothing: no bands then.
    const int pitch = m_barWidth + m_space;
    m_bands = (m_barWidth >= 1 && m_space >= 0 && pitch > 0) ? (width() - 60) / pitch : 0;
    m_bands = std::min({m_bands, m_barLimit, int(MaxBands)});
    if (m_height <= 7 || m_bands <= 2)
        return;
    const int N = m_bands;
    const int H = m_height;
    resetBands();

    const int half = N / 2;
    for (int i = 0; i < half; ++i)
        m_edges[i] = i;
    const int step = (255 - 2 * N) / (N - half);
    for (int i = half; i < N; ++i)
        m_edges[i] = m_edges[i - 1] + step;
    m_edges[N] = 255;

    const double lnMax = std::log(512.0);
    for (int k = 0; k < 512; ++k)
        m_levelTable[k] = uint16_t(std::min(65535.0, H * std::log(k + 1.0) / lnMax));

    std::memset(m_history, 0, sizeof m_history);

    const QPixmap framed = FramePainter::framed(m_frame, QSize(m_barWidth + 22, H + 22), palette());
    m_backgroundColumn = framed.copy(Border, Border, m_barWidth, H);
    m_litColumn = m_backgroundColumn.copy();
    {
        QPainter p(&m_litColumn);
        p.setPen(QColor(0x00, 0x00, 0x80));
        for (int row = H - 1; row > 0; row -= 2)
            p.drawLine(0, row, m_barWidth - 1, row);
    }
    m_peakStrip = QPixmap(m_barWidth, 1);
    m_peakStrip.fill(Qt::white);
    m_valid = true;
}

void Visualization::placeBars()
{
    m_y0 = Border;
    m_x0 = (width() - (m_space * (m_bands - 1) + m_barWidth * m_bands)) / 2;
}

void Visualization::startAnalyzer()
{
    if (!m_valid)
        recalcGeometry();
    if (m_running)
        return;
    if (m_height > 7 && m_bands > 2) {
        m_running = true;
        m_pending = false;
        m_idle = false;
        syncTimer();
    } else {
        m_pending = true;
    }
}

void Visualization::stopAnalyzer()
{
    m_running = false;
    m_pending = false;
    syncTimer();
}

void Visualization::syncTimer()
{
    const bool seen = isVisible() && !window()->isMinimized();
    const int wanted = (m_running && seen) ? (m_idle ? IdleTickMs : TickMs) : 0;
    if (m_source)
        m_source->setWatched(wanted != 0);
    if (m_timerId && wanted == m_interval)
        return;
    if (m_timerId)
        killTimer(m_timerId);
    m_timerId = wanted ? startTimer(wanted) : 0;
    m_interval = wanted;
}

void Visualization::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // Minimising a window hides none of its widgets: the window says so instead.
    if (m_watchedWindow != window()) {
        if (m_watchedWindow)
            m_watchedWindow->removeEventFilter(this);
        m_watchedWindow = window();
        if (m_watchedWindow != this)
            m_watchedWindow->installEventFilter(this);
    }
    syncTimer();
}

void Visualization::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    syncTimer();
}

bool Visualization::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_watchedWindow && e->type() == QEvent::WindowStateChange)
        syncTimer();
    return QWidget::eventFilter(watched, e);
}

bool Visualization::settled() const
{
    return std::all_of(m_level, m_level + m_bands, [](int32_t v) { return v == 0; })
        && std::all_of(m_peak, m_peak + m_bands, [](int32_t v) { return v == 0; })
        && std::all_of(m_drawnBar, m_drawnBar + m_bands, [](int32_t v) { return v <= 1; });
}

void Visualization::setAnalyzerOptions(bool peaks, int barLimit, int barWidth, int space, int maxHeight)
{
    const bool wasRunning = m_running;
    const bool pending = m_pending;
    if (wasRunning)
        stopAnalyzer();
    m_peaks = peaks;
    m_barLimit = barLimit;
    m_barWidth = barWidth;
    m_space = space;
    setMaximumHeight(std::max(0, maxHeight));
    if (parentWidget() && parentWidget()->layout())
        parentWidget()->layout()->activate();
    m_incremental = false;
    repaint();
    recalcGeometry();
    placeBars();
    if (wasRunning || pending)
        startAnalyzer();
}

void Visualization::resizeEvent(QResizeEvent* e)
{
    const bool wasRunning = m_running;
    const bool pending = m_pending;
    if (wasRunning)
        stopAnalyzer();
    QWidget::resizeEvent(e);
    recalcGeometry();
    placeBars();
    if (wasRunning || pending)
        startAnalyzer();
}

void Visualization::renderBackground()
{
    m_canvas = QPixmap(size());
    if (width() > 25 && height() > 22) {
        m_canvas = FramePainter::framed(m_frame, size(), palette());
    } else {
        QPainter p(&m_canvas);
        p.fillRect(m_canvas.rect(), palette().brush(QPalette::Active, QPalette::Window));
    }
}

void Visualization::paintEvent(QPaintEvent* e)
{
    if (!m_incremental || m_canvas.size() != size()) {
        // A real repaint: draw the frame afresh and let the next tick grow every bar from 0.
        resetBands();
        renderBackground();
    }
    m_incremental = false;
    m_unshown = QRect();
    if (m_canvas.isNull())
        return;
    QPainter p(this);
    p.drawPixmap(e->rect(), m_canvas, e->rect());
}

void Visualization::timerEvent(QTimerEvent* e)
{
    if (e->timerId() == m_timerId)
        advance();
    else
        QWidget::timerEvent(e);
}

void Visualization::advance()
{
    if (m_source)
        tickSource();
    else
        tickDemo();
    drawBars();
}

int Visualization::analyse(const int16_t* samples, int band)
{
    FixedFFT::transform(samples, m_re, m_im);
    int32_t m = 0;
    for (int k = m_edges[band]; k < m_edges[band + 1] && k < 257; ++k)
        m = std::max(m, int32_t(std::abs(m_im[k]) >> 8));
    // A full-scale block can reach index 512: the table ends at 511.
    return m_levelTable[std::min(m >> 7, 511)];
}

void Visualization::bandLevels(uint16_t* row)
{
    FixedFFT::transform(m_samples, m_re, m_im);
    for (int b = 0; b < m_bands; ++b) {
        int32_t m = 0;
        for (int k = m_edges[b]; k < m_edges[b + 1]; ++k)
            m = std::max(m, int32_t(std::abs(m_im[k]) >> 8));
        row[b] = m_levelTable[std::min(m >> 7, 511)];
    }
}

void Visualization::tickSource()
{
    const bool playing = m_source->isPlaying() && m_source->positionMs() > 0;
    if (m_idle) {
        if (!playing)
            return;
        m_idle = false;
        syncTimer();
    }
    s_tick = (s_tick + 1) % HistoryRows;
    uint16_t* write = m_history[s_tick];
    if (playing) {
        m_source->copySamples(m_samples);
        bandLevels(write);
    } else {
        std::fill_n(write, m_bands, uint16_t(0));
    }
    animate(m_history[(s_tick - Delay + HistoryRows) % HistoryRows]);
    // Rows analysed but not shown yet must play out before it may rest.
    if (!playing && settled()
        && std::all_of(&m_history[0][0], &m_history[0][0] + HistoryRows * MaxBands, [](uint16_t v) { return v == 0; })) {
        m_idle = true;
        syncTimer();
    }
}

void Visualization::animate(const uint16_t* row)
{
    for (int i = 0; i < m_bands; ++i) {
        const int v = row[i] * Scale;
        bool peakFalls = false;
        if (v > m_level[i]) {
            m_level[i] = v;
            if (m_peaks) {
                if (v > m_peak[i]) {
                    m_peak[i] = v;
                    m_peakSpeed[i] = NewPeakSpeed;
                } else {
                    peakFalls = true;
                }
            }
        } else {
            if (m_level[i] > 0) {
                m_level[i] -= BarFall;
                if (m_level[i] < 0)
                    m_level[i] = 0;
            }
            peakFalls = m_peaks;
        }
        if (peakFalls && m_peak[i] > 0) {
            m_peak[i] -= m_peakSpeed[i];
            if (m_peakSpeed[i] <= MaxGrowingSpeed)
                m_peakSpeed[i] = m_peakSpeed[i] * 1300 / 1000;
            if (m_peak[i] < m_level[i])
                m_peak[i] = m_level[i];
            if (m_peak[i] < 0)
                m_peak[i] = 0;
        }
    }
}

void Visualization::tickDemo()
{
    const double H = m_height;
    for (int i = 0; i < m_bands; ++i) {
        const double s = std::sin(i * 4.08407038 / (m_bands - 1));
        const double l = 0.2 * H + 0.5 * H * s;
        const double p = 0.4 * H + 0.5 * H * s;
        m_level[i] = l < 0 ? 0 : int(l) * Scale;
        m_peak[i] = p < 0 ? 0 : int(p) * Scale;
    }
}

void Visualization::drawBars()
{
    if (m_canvas.size() != size()) {
        resetBands();
        renderBackground();
    }
    if (m_canvas.isNull() || m_litColumn.isNull())
        return;
    const int H = m_height;
    const int bottom = m_y0 + H;
    QRect dirty;
    QPainter p(&m_canvas);
    for (int i = 0; i < m_bands; ++i) {
        const int x = m_x0 + i * (m_barWidth + m_space);
        const int h = std::max(m_level[i] / Scale, 1);
        const int pk = m_peak[i] / Scale;
        const int d = m_drawnBar[i];
        const int q = m_drawnPeak[i];
        if (h < d)
            p.drawPixmap(x, bottom - d, m_backgroundColumn, 0, H - d, m_barWidth, d - h);
        else if (h > d)
            p.drawPixmap(x, bottom - h, m_litColumn, 0, H - h, m_barWidth, h - d);
        const int top = bottom - std::max(h, d);   // rows just redrawn: top .. end - 1
        const int end = bottom - std::min(h, d);
        if (h != d)
            dirty |= QRect(x, top, m_barWidth, end - top);
        if (m_peaks) {
            if (q != 0 && q < H && (bottom - q < top || bottom - q >= end || h == d)) {
                const QPixmap& src = q > h ? m_backgroundColumn : m_litColumn;
                p.drawPixmap(x, bottom - q, src, 0, H - q, m_barWidth, 1);
                dirty |= QRect(x, bottom - q, m_barWidth, 1);
            }
            if (pk != 0 && pk < H) {
                p.drawPixmap(x, bottom - pk, m_peakStrip);
                dirty |= QRect(x, bottom - pk, m_barWidth, 1);
            }
            m_drawnPeak[i] = pk;
        }
        m_drawnBar[i] = h;
    }
    p.end();
    // Shown every second tick (50 frames a second, about what a handheld's display
    // refreshes): each frame costs the X server and both GUI threads a wakeup, and the
    // bars move as far either way. A settling analyzer shows its last frame at once.
    m_unshown |= dirty;
    m_tickParity = !m_tickParity;
    if (!m_unshown.isEmpty() && (m_tickParity || m_idle)) {
        m_incremental = true;
        update(m_unshown);
        m_unshown = QRect();
    }
}
