#include "low/Low.h"

#include <glib.h>
