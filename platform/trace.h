// Machine-readable events for the scenario runner and tests ("lock col=3
// row=12"); silent in real play.
#pragma once

#include <string>

void TraceEvent(const std::string& event);
