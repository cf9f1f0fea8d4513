#pragma once

#include "analyzersource.h"

#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <memory>

class LoopControl;

// The spectrum analyzer: every 10 ms it copies the last PCM block, transforms 512 samples
// and shows one bar per band, 12 ticks later, with falling peaks. Without a source it
// shows a fixed demonstration curve (the options page preview). It ticks only while it
// can be seen, and once the bars have settled with nothing playing it only looks four
// times a second whether playback has started: a hidden or idle analyzer costs no power.
class Visualization : public QWidget
{
public:
    static constexpr int MaxBands = 100;
    static constexpr int HistoryRows = 30;
    static constexpr int Delay = 12;

    explicit Visualization(LoopControl* source, QWidget* parent = nullptr, const char* name = nullptr);
    // For tests and benchmarks: any sample source (not owned; null for the demonstration).
    // The parent comes first so that Visualization(nullptr, parent) stays unambiguous.
    Visualization(QWidget* parent, AnalyzerSource* source, const char* name = nullptr);
    ~Visualization() override;

    void setAnalyzerOptions(bool peaks, int barLimit, int barWidth, int space, int maxHeight);
    void startAnalyzer();
    void stopAnalyzer();

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

    // One tick, as the timer runs it.
    void advance();

    // State, for tests and the options preview.
    bool isRunning() const { return m_running; }
    // The interval the analyzer wakes at now, 0 when it does not wake at all.
    int tickInterval() const { return m_timerId ? m_interval : 0; }
    bool isPending() const { return m_pending; }
    bool geometryValid() const { return m_valid; }
    int bands() const { return m_bands; }
    int barAreaHeight() const { return m_height; }
    int barX0() const { return m_x0; }
    int barY0() const { return m_y0; }
    int barWidth() const { return m_barWidth; }
    int barSpace() const { return m_space; }
    int bandEdge(int i) const { return m_edges[i]; }
    int levelTable(int k) const { return m_levelTable[k]; }
    int level(int band) const { return m_level[band]; }
    int peak(int band) const { return m_peak[band]; }
    int peakSpeed(int band) const { return m_peakSpeed[band]; }
    int drawnBar(int band) const { return m_drawnBar[band]; }
    int drawnPeak(int band) const { return m_drawnPeak[band]; }
    // The band level in pixels that an analysed block gives (before the delay).
    int analyse(const int16_t* samples, int band);
    // The canvas the widget shows.
    const QPixmap& canvas() const { return m_canvas; }

protected:
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void init();
    void recalcGeometry();
    void placeBars();
    void resetBands();
    void renderBackground();
    void tickSource();
    void tickDemo();
    void animate(const uint16_t* row);
    void drawBars();
    void bandLevels(uint16_t* row);
    void syncTimer();
    bool settled() const;

    std::unique_ptr<AnalyzerSource> m_ownedSource;
    AnalyzerSource* m_source = nullptr;
    bool m_valid = false;
    QImage m_frame;
    QPixmap m_litColumn;
    QPixmap m_backgroundColumn;
    QPixmap m_peakStrip;
    QPixmap m_canvas;               // what the widget shows; ticks draw into it
    bool m_incremental = false;     // the next paint only shows what a tick drew
    QRect m_unshown;                // drawn on the canvas by ticks, not yet on screen
    bool m_tickParity = false;
    uint16_t m_levelTable[512] = {};
    int16_t m_samples[512] = {};
    int32_t m_re[257] = {};
    int32_t m_im[257] = {};
    int32_t m_peakSpeed[MaxBands] = {};
    int32_t m_edges[MaxBands + 1] = {};
    int32_t m_level[MaxBands] = {};
    int32_t m_peak[MaxBands] = {};
    int32_t m_drawnBar[MaxBands] = {};
    int32_t m_drawnPeak[MaxBands] = {};
    // Band levels in pixels, one row per tick. 16 bits: bar areas may be taller than 255.
    uint16_t m_history[HistoryRows][MaxBands] = {};
    int m_x0 = 0;
    int m_y0 = 11;
    bool m_running = false;
    bool m_pending = false;
    int m_timerId = 0;
    int m_interval = 0;
    bool m_idle = false;            // bars settled and nothing playing
    QPointer<QWidget> m_watchedWindow;
    int m_height = 0;
    int m_bands = 0;
    int m_barWidth = 4;
    int m_space = 2;
    bool m_peaks = true;
    int m_barLimit = 10;
};
