#pragma once

// What the resource script gives the program, by number.

#define RESIPA_ICON 1
