#pragma once

#include <QMainWindow>

class QAction;
class VRXActionRegistry;

// The toolkit's main window: the named actions "Orblane" (About), "zoomin", "zoomout" and
// "exit", zoom keys, and a rotate() call when the window turns between portrait and
// landscape.
class VRXMainWindow : public QMainWindow
{
    Q_OBJECT
public:
    enum { AboutEvent = 1000 };

    explicit VRXMainWindow(QWidget* parent = nullptr, const QString& name = QString());
    ~VRXMainWindow() override;

    VRXActionRegistry* actionRegistry() const { return m_registry; }
    QAction* action(const QString& name) const;
    bool portrait() const { return m_portrait; }

public slots:
    void about();
    virtual void zoomin();
    virtual void zoomout();
    virtual void rotate();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    VRXActionRegistry* m_registry;
    bool m_portrait;
};
