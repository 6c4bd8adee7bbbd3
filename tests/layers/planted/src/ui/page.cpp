#include <QWidget>
#include "service/defaults_reset.h"
#include "widgets/ab_led.h"
#include "cli/cli.h"
