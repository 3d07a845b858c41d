#include "platform/host.h"
