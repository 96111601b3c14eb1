#include "engine/game.hpp"
