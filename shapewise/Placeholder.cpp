// Replaced by the shape detection library.
