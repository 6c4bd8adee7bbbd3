#include "link/qt_serial_port.h"

#include <QSerialPort>
