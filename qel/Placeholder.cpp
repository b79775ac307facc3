// Replaced by the recognition library.
