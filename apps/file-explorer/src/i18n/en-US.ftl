# Files — source locale (en-US).
# Collaboration, availability, history and received-share surfaces are the
# first migrated tranche. Variables are data, never preformatted Fluent source.

files-time-unknown = unknown time

## Service and received-share errors/status

files-received-not-available = Received-file service is not available
files-received-file = Received shared file
files-received-mount-starting = Shared file admitted; mount is starting
files-received-admitted = Shared file admitted
files-received-link-read-failed = Could not read the shared-file link
files-received-link-too-large = Shared-file link exceeds its bound
files-received-link-invalid-text = Shared-file link is not valid text
files-received-link-empty = Shared-file link is empty

## Application chrome and navigation

files-app-title = Files
files-back = Back
files-forward = Forward
files-up = Up one folder
files-place-home = Home

## List, empty/error state and accessibility

files-try-again = Try Again
files-loading-title = Opening folder
files-loading-detail = Loading { $path }
files-directory-read-failed = Could not open this folder: { $error }
files-load-error-title = Couldn’t open this folder
files-load-error-detail = { $error } · { $path }
files-a11y-current-folder = Current folder: { $path }
files-empty-trash = Trash is empty
files-empty-folder = This folder is empty
files-item-count = { $count } { $count ->
        [one] item
       *[other] items
    }
files-selected-count = { $base }  ·  { $count } selected
files-a11y-list = Files
files-a11y-folder = Folder
files-a11y-file = File, { $size }
files-new-name-placeholder = New name

## Archives

files-archive-read-only = Archives are read-only until extracted
