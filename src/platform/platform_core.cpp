// Interfaces only so far.
#include "platform/host.h"
#include "platform/richbox.h"
