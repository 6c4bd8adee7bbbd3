#pragma once
#include "live/live_signals.h"
#include <QWidget>
