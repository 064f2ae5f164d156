// Every wait of these tests (wintest::PumpUntil and friends) dispatches through the framework's
// loop step, so pre-translation (dialog navigation, shortcuts) runs as in the program.

#include "framework/MessageLoop.h"
#include "tests/support/win/MessagePump.h"

[[maybe_unused]] static const wintest::MessageDispatcher g_pfnDefault =
    wintest::SetMessageDispatcher(&PumpMessage);
