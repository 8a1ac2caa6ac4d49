// Gives the corvani_assets static library a translation unit of its own; the pictures come in through Qt's resource objects.
