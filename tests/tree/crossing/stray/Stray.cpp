// A folder that no layer rule covers.
