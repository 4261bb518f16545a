#pragma once

#include <exception>

// Errors raised while a widget handles an event (an edit in a grid cell, a keystroke in a
// data-bound edit) would unwind through the toolkit's own frames. They are handed on instead:
// raised again from the event loop, where the application's guard shows them in the default
// error box. Nothing is swallowed.
void FehlerWeitergeben(std::exception_ptr fehler);
