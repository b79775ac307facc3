// Replaced by the stickman library.
