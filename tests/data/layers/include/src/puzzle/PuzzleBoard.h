#pragma once

#include "platform/Random.h"
