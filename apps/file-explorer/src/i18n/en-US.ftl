# Files — source locale (en-US).
