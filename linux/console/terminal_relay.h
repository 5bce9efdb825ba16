#pragma once

class PseudoTerminal;
class RunWatch;

// With no window to show them in, relays a program's output to a descriptor, then the watch's
// ending line, and returns once the program has ended and no program it left behind still holds
// its terminal. A reader that goes away does not end the run: the output is then read and dropped.
int relayToOutput(PseudoTerminal& terminal, const RunWatch& watch, int output);
