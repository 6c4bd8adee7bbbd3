#pragma once
// One line too many.

int a();
