#pragma once
#include "model/fields.h"
#include <QWidget>
