#include "opponents/random_int.hpp"
