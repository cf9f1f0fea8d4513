#include "mprisservice.h"
#include "signalwatcher.h"
#include "suspendwatcher.h"
#include "vrxapplication.h"
#include "vrxplayerwindow.h"

int main(int argc, char** argv)
{
    SignalWatcher::installSignalHandlers(true);
    VRXApplication app("Quavrix", argc, argv);
    if (app.handedOver())
        return 0; // the running player took the document
    auto* window = new VRXPlayerWindow;
    SignalWatcher watcher([window](int count) { window->resumeAfterPowerOn(count); },
                          [window] { window->closeOnSignal(); });
    SuspendWatcher suspend;
    window->followSuspends(&suspend);
    auto* mpris = new MprisService(window);
    mpris->registerOnBus();
    app.showMainDocumentWidget(window, false);
    const int result = app.exec();
    delete window;
    return result;
}
