#pragma once

#include <QWidget>

class QCheckBox;
class QSpinBox;
class QVBoxLayout;
class Visualization;

// The "Analyzer" page's form: check boxes "svis" and "speacks", spin boxes "num", "bwidth",
// "bspace" and "mheight".
class AnalyzerWidgetBase : public QWidget
{
    Q_OBJECT
public:
    explicit AnalyzerWidgetBase(QWidget* parent = nullptr, const QString& name = QString());

public slots:
    virtual void updateAnalyzer() {}
    virtual void load() {}

protected:
    QVBoxLayout* box;
    QCheckBox* svis;
    QCheckBox* speacks;
    QSpinBox* num;
    QSpinBox* bwidth;
    QSpinBox* bspace;
    QSpinBox* mheight;
};

// The analyzer options with a live preview (a demonstration analyzer). Every change is
// stored at once and shown on the preview.
class AnalyzerWidget : public AnalyzerWidgetBase
{
    Q_OBJECT
public:
    explicit AnalyzerWidget(QWidget* parent = nullptr, const QString& name = QString());

    Visualization* preview() const { return m_preview; }

public slots:
    // Writes the six "Analyzer" keys and applies them to the preview.
    void updateAnalyzer() override;
    // Reads the six keys into the controls, then updateAnalyzer().
    void load() override;

private:
    Visualization* m_preview;
};
