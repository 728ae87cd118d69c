#pragma once
// The main run loop as kelvo-editor drives it: by hand, on CF's manual clock, so the poll
// runs exactly as often as asked and no faster than the program can draw.

// Switches CF's clock to manual time; called before the editor makes its timer. [main thread]
void startManualClock();

// Runs whatever is due now (listener deliveries, sheet completions, timers whose time has
// come) and redraws the windows that need it. [main thread]
void pumpMainRunLoop();

// Moves the clock on by one poll interval (1/30 s) and runs the loop: the editor's timer
// fires once. [main thread]
void advancePoll();

// Runs the loop for the time between two events of the user's hand (1/120 s, as a mouse
// reports a drag): timers come due as they would meanwhile, a listener that delivers every
// few milliseconds among them. [main thread]
void passEventTime();
