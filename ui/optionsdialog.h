#pragma once

#include "vrxdialog.h"

#include <QList>

class AnalyzerWidget;
class AnotherOptionsWidget;
class ColorsWidget;
class KeysWidget;
class TabPositionWidget;
class VRTabWidget;

// The options: pages Setup, Colors, Key, Style and Analyzer in tabs. The colours and the
// analyzer are stored while they are edited, so that their previews show them; Cancel
// puts back what they held before. The other pages are stored by store() after OK.
class OptionsDialog : public VRXDialog
{
    Q_OBJECT
public:
    explicit OptionsDialog(QWidget* parent = nullptr);

    // Saves every page; the caller then re-applies the settings.
    void store();

    VRTabWidget* tabs() const { return m_tabs; }
    AnotherOptionsWidget* setupPage() const { return m_setup; }
    ColorsWidget* colorsPage() const { return m_colors; }
    KeysWidget* keysPage() const { return m_keys; }
    TabPositionWidget* tabPositionPage() const { return m_tabPosition; }
    AnalyzerWidget* analyzerPage() const { return m_analyzer; }

public slots:
    // Stores the page's number (1..5) as "optionsPage".
    void pageActivated(QWidget* page);
    void reject() override;

private:
    struct Saved
    {
        QString group;
        QString key;
        bool present;
        QString value;
    };

    VRTabWidget* m_tabs;
    AnotherOptionsWidget* m_setup;
    ColorsWidget* m_colors;
    KeysWidget* m_keys;
    TabPositionWidget* m_tabPosition;
    AnalyzerWidget* m_analyzer;
    QList<Saved> m_previewed;
};
