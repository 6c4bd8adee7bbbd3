#pragma once
// Three lines.
int b();
