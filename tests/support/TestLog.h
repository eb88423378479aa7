// A fresh log database in a temporary folder of its own, and the program directory pointing at
// that folder while it lives, so that the windows find it as they find "Verbrauch.mdb".
#pragma once

#include "ScratchLog.h"

class TestLog : public ScratchLog {
public:
    TestLog();
    ~TestLog();
};
