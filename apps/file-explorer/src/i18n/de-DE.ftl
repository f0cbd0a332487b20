# Files — deutsche Übersetzung.
