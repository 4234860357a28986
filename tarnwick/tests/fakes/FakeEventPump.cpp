#include "FakeEventPump.h"

#include <QtGlobal>

void FakeEventPump::run() {
    ++passes;
    if (!script.isEmpty()) {
        script.takeFirst()();
        return;
    }
    // A wait that nothing in the script ends would hang the test: stop it loudly.
    if (passes > 1000)
        qFatal("FakeEventPump: the pipeline is still waiting after the script ran out");
}
