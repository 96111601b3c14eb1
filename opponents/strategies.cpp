#include "opponents/strategies.hpp"
