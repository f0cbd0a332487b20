# Files — source locale (en-US).
# Collaboration, availability, history and received-share surfaces are the
# first migrated tranche. Variables are data, never preformatted Fluent source.

files-time-unknown = unknown time

## Keyboard shortcuts

files-shortcuts-title = Keyboard shortcuts
files-shortcuts-summary = These keys work while the file list has focus
files-shortcuts-primary = Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V: select all, copy, cut and paste
files-shortcuts-navigate = Up, Down: move through the list; with Shift, extend the selection
files-shortcuts-grid = Left, Right: move across the grid
files-shortcuts-open = Enter: open the focused item
files-shortcuts-location = Ctrl+L: type a location
files-shortcuts-new-folder = Ctrl+Shift+N: new folder
files-shortcuts-edit = F2: rename; Delete: move to Trash; Ctrl+Z: undo Move to Trash
files-shortcuts-hidden = Ctrl+H: show or hide hidden files
files-shortcuts-size = Ctrl++, Ctrl+-, Ctrl+0: larger, smaller or default item size
files-shortcuts-context = Menu key: open the context menu; F5: refresh
files-shortcuts-close = Escape: close a menu or sheet, or clear the selection

## Availability actions and status

files-keep-offline = Keep Offline
files-use-automatic-storage = Use Automatic Storage
files-pinned-by-parent = Pinned by Parent Folder
files-retry-download = Retry Download
files-free-local-space = Free Local Space
files-no-pin-needed = No selected item needs an offline pin
files-no-direct-pin = No direct offline pin can be changed here
files-keeping-offline = { $count ->
        [one] Keeping { $count } item offline
       *[other] Keeping { $count } items offline
    }
files-using-automatic = { $count ->
        [one] Using automatic storage for { $count } item
       *[other] Using automatic storage for { $count } items
    }
files-offline-policy-failed = Offline policy failed: { $errors }
files-no-retryable-transfer = No selected transfer can be retried
files-retrying-transfers = { $count ->
        [one] Retrying { $count } transfer
       *[other] Retrying { $count } transfers
    }
files-retry-failed = Retry failed: { $errors }
files-no-local-space-releasable = No selected item can release local space
files-freeing-local-space = { $count ->
        [one] Freeing local space for { $count } item
       *[other] Freeing local space for { $count } items
    }
files-free-local-space-failed = Free local space failed: { $errors }
files-eviction-needs-confirmation = Safety could not be verified; confirmation is required
files-destructive-eviction-title = Remove an unverified local copy?
files-destructive-eviction-summary = { $count ->
        [one] { $count } item has no verified copy anywhere else.
       *[other] { $count } items have no verified copy anywhere else.
    }
files-destructive-eviction-no-replica = No durable replica of this content could be confirmed.
files-destructive-eviction-loss = If this is the only copy, removing it loses the content for good.
files-destructive-eviction-protected = Items kept offline stay on this device and are not removed.
files-destructive-eviction-confirm = Remove Local Copy Anyway
files-destructive-eviction-started = { $count ->
        [one] Removing { $count } local copy
       *[other] Removing { $count } local copies
    }
files-permanent-delete-title = { $count ->
        [one] Permanently delete { $count } item?
       *[other] Permanently delete { $count } items?
    }
files-permanent-delete-summary = { $count ->
        [one] { $count } selected item will be deleted from Trash for good.
       *[other] { $count } selected items will be deleted from Trash for good.
    }
files-permanent-delete-loss = This cannot be undone.
files-permanent-delete-confirm = Delete Permanently
files-empty-trash-title = Permanently empty Trash?
files-empty-trash-summary = { $count ->
        [one] 1 item will be removed from Trash.
       *[other] All { $count } items will be removed from Trash.
    }
files-empty-trash-confirm = Empty Trash

## Properties and availability sheet

files-property-collaborative-record = Collaborative record: { $record }
files-property-content = Content: { $hash }…
files-residency-metadata-only = metadata only
files-residency-partly-local = partly downloaded ({ $bytes })
files-residency-local = fully downloaded ({ $bytes })
files-property-on-device = On this device: { $state }
files-property-sharing = Active shares: { $count }
files-property-history = Versions: { $versions } · Open conflicts: { $conflicts }
files-properties-collab-summary = Collaborative file in a shared workspace
files-availability-title = Availability: { $name }
files-availability-title-short = Availability…
files-not-stored = Not stored on this device
files-partly-stored = Partly stored on this device ({ $bytes })
files-stored = Stored on this device ({ $bytes })
files-kept-offline-parent = Kept offline by a parent folder
files-kept-offline = Kept offline
files-automatic-storage = Automatic storage
files-replica-unverified = Replicas not verified
files-replica-counts = Replicas: { $reachable } reachable, { $durable } durable
files-transfer-state = Transfer: { $state }
files-transfer-idle = idle
files-transfer-queued = queued
files-transfer-downloading = downloading
files-transfer-uploading = uploading
files-transfer-verifying = verifying

## Sharing

files-search-collaborative-records = Collaborative files
files-search-record-provenance = Collaborative record
files-copy-one-time-link = Copy One-Time Share Link
files-share-composer-named = Share with { $person }: { $permission }, { $expiry }
files-share-composer-link = Link: { $permission }, { $expiry }, { $uses }
files-share-choice-view = can view
files-share-choice-edit = can edit
files-share-choice-day = expires after 1 day
files-share-choice-week = expires after 1 week
files-share-choice-month = expires after 30 days
files-share-choice-never = never expires
files-share-choice-one-use = one use
files-share-choice-bounded-uses = { $count ->
        [one] up to { $count } use
       *[other] up to { $count } uses
    }
files-share-creating = Creating share link…
files-share-invalid-options = These share options are not valid
files-share-link-needs-expiry = Share links need an expiry
files-share-invalid-uses = Share links require a use limit from 1 to 1,000
files-share-recipient-unreachable = This person has no certified delivery device
files-sharing-access = Sharing & Access…
files-share-with = Share with { $person }
files-revoke-subject = Revoke { $subject }
files-shared-link = shared link
files-share-link-pending = A share link is already being created
files-share-change-pending = A sharing change is already in progress
files-select-collaborative-file = Select one collaborative file
files-select-shared-file = Select one shared file
files-sharing-unavailable = Sharing is not available in this workspace
files-creating-one-use-link = Creating a one-time share link…
files-share-with-progress = Sharing with { $person }…
files-revoking-access = Revoking access…
files-not-shared = Not shared
files-anyone-link = Anyone with the link
files-can-view = Can view
files-can-edit = Can edit
files-grant-active = active
files-grant-expired = expired
files-grant-revoked = revoked
files-grant-exhausted = used up
files-no-expiry = no expiry
files-expires = expires { $time }
files-share-grant-line = { $subject } · { $permission } · { $status } · { $expiry }
files-sharing-title = Sharing: { $name }
files-certified-devices = { $person }: { $devices }
files-certified-device-detail = { $device } · { $fingerprint } · { $capabilities } · issued { $issued } · { $expiry }
files-device-cap-own = owns workspaces
files-device-cap-admit = admits devices
files-device-cap-host = acts as host
files-device-cap-read-all = reads all workspaces
files-device-cap-member = member
files-sharing-summary = { $count } { $count ->
        [one] active share
       *[other] active shares
    }
files-link-copied = Share link copied to the clipboard
files-share-created = Shared with { $person }
files-share-created-pending = Shared with { $person }; delivery to their devices is pending
files-share-created-delivered = Shared with { $person } and delivered to their devices
files-access-revoked = Access revoked
files-share-inactive = That share was no longer active

## History and conflict resolution

files-version-history = Version History…
files-restore-previous = Restore Previous Version
files-resolve-keep-current = Resolve: Keep Current Version
files-resolve-use-other = Resolve: Use Other Version
files-history-version-line = { $action } by { $person }, { $time }
files-history-older = { $count ->
        [one] { $count } older version
       *[other] { $count } older versions
    }
files-conflict-needs-review = Conflict needs review
files-conflict-resolved-strategy = Conflict resolved: { $strategy }
files-conflict-resolved = Conflict resolved
files-strategy-keep-current = Keep current version
files-strategy-use-other = Use other version
files-strategy-keep-both = Keep both versions
files-strategy-merge = Merge
files-conflict-line = Conflict { $conflict }: { $status }
files-conflict-resolve-hint = Keep the current version or use the other one from the context menu
files-conflict-unsupported-hint = This kind of conflict cannot be resolved here
files-history-title = Version History: { $name }
files-history-summary = Versions: { $versions } · Current heads: { $heads }
files-history-change-pending = A history change is already in progress
files-select-file-with-history = Select one file with version history
files-version-restored = Version restored
files-restoring-version = Restoring version…
files-keeping-current = Keeping the current version…
files-applying-other = Applying the other version…
files-merging-versions = Merging versions…
files-merge-review-menu = Review merge
files-merge-review-title = Review Merge: { $name }
files-merge-review-summary = Merge review
files-merge-review-checking = Checking whether both changes merge safely…
files-merge-review-checking-detail = Kavo is comparing both changes with their shared base. Nothing is changed while this runs.
files-merge-review-safe = Both changes merge safely
files-merge-review-needs-review = This merge needs a manual review
files-merge-review-unavailable = No merge check is available for this conflict
files-merge-review-no-apply = This merge will not be applied automatically.
files-merge-review-incoming = Incoming change from device { $device }
files-merge-review-diff = Changes: { $summary }
files-merge-review-guard = Kavo rechecks the exact base and both revisions before applying, and stops if either has changed.
files-merge-review-undo = The merge is saved as a new version, so it can be undone from the version history.
files-merge-apply-safe = Apply safe merge
files-merge-apply-safe-detail = Applies the checked merge as a new signed version
files-conflict-workflow-required = Merges are applied through Review merge
files-conflict-resolved-signed = Conflict resolved; the new version is signed
files-history-change-saved = History change saved
files-history-action-created = Created
files-history-action-edited = Edited
files-history-action-renamed = Renamed
files-history-action-moved = Moved
files-history-action-deleted = Deleted
files-history-action-conflict-resolved = Conflict resolved
files-history-action-restored = Restored
files-history-action-changed = Changed
files-history-current-version = Current version
files-history-timeline-detail = Select a version to preview it or compare it with the current one
files-history-preview-title = Version from { $time }
files-history-compare-title = Compare with the current version
files-history-selected-action = Change: { $action }
files-history-selected-by = By: { $person }
files-history-selected-at = When: { $time }
files-history-version-id = Version: { $id }
files-history-content-identity = Content: { $hash }
files-history-metadata-identity = Metadata: { $hash }
files-history-no-content = This version has no recorded content
files-history-compare-content = Content: { $state }
files-history-compare-metadata = Metadata: { $state }
files-history-same = same
files-history-different = different
files-history-show-activity = Show Activity
files-history-compare = Compare
files-history-hide-compare = Hide Comparison
files-history-restore-selected = Restore This Version
files-history-current-version-label = Current
files-history-timeline-a11y = Version timeline, { $count } { $count ->
        [one] version
       *[other] versions
    }
files-history-timeline-a11y-item = { $action } by { $person }, { $time }

## Accessible collaborative state

files-a11y-transfer-failed = Transfer failed
files-a11y-transfer-queued = Transfer queued
files-a11y-downloading = Downloading
files-a11y-uploading = Uploading
files-a11y-verifying = Verifying
files-a11y-online-only = Online only
files-a11y-partly-offline = Partly available offline
files-a11y-available-offline = Available offline
files-a11y-kept-offline-parent = Kept offline by a parent folder
files-a11y-kept-offline = Kept offline
files-a11y-replica-unknown = Replication unknown
files-a11y-durably-replicated = Durably replicated
files-a11y-not-durably-replicated = Not durably replicated
files-a11y-shared-recipients = { $count ->
        [one] Shared with { $count } recipient
       *[other] Shared with { $count } recipients
    }
files-a11y-version-conflict = Version conflict

## Service and received-share errors/status

files-history-encode-failed = Could not encode the history request
files-history-request-too-large = History request exceeds its wire bound
files-history-restore-failed = Could not restore that version: { $error }
files-conflict-strategy-unsupported = Conflict strategy { $strategy } is not supported
files-conflict-encode-failed = Could not encode the conflict request
files-conflict-request-too-large = Conflict request exceeds its wire bound
files-conflict-resolve-failed = Could not resolve that conflict: { $error }
files-share-wrong-response = Share service returned the wrong response
files-share-runtime-failed = Could not start the share client: { $error }
files-share-unavailable-error = Share service unavailable: { $error }
files-share-encode-failed = Could not encode share request: { $error }
files-share-request-too-large = Share request exceeds its wire bound
files-share-request-failed = Could not request link: { $error }
files-share-flush-failed = Could not send the share request: { $error }
files-share-no-response = Share service did not respond: { $error }
files-share-response-too-large = Share service returned an oversized response
files-share-response-truncated = Share response was truncated: { $error }
files-share-response-invalid = Invalid share-service response: { $error }
files-share-refused = Share service refused the request ({ $code })
files-received-refused = Received-file service refused the link ({ $code })
files-received-retry-refused = Received-file service could not retry ({ $code })
files-received-wrong-response = Received-file service returned the wrong response
files-received-runtime-failed = Could not start the received-file client: { $error }
files-received-encode-failed = Could not encode received-file request
files-received-request-too-large = Received-file request exceeds its bound
files-received-unavailable = Received-file service is unavailable
files-received-no-response = Received-file service did not respond
files-received-response-too-large = Received-file service returned an oversized response
files-received-response-truncated = Received-file service response was truncated
files-received-response-invalid = Received-file service returned an invalid response
files-received-not-available = Received-file service is not available
files-received-fd-clone-failed = Received-file service descriptor could not be cloned
files-received-fd-invalid = Received-file service descriptor is invalid
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
files-view-list = List
files-view-grid = Grid
files-sort-by = Sort by
files-view-options = View options
files-path-placeholder = Type a path, e.g. ~/Documents
files-place-home = Home
files-place-favourites = Favourites
files-place-favorites = Favorites
files-place-system = System
files-place-root = Root
files-place-trash = Trash
files-place-workspace = Workspace
files-place-documents = Documents
files-place-downloads = Downloads
files-place-pictures = Pictures
files-place-music = Music
files-place-videos = Videos

## List, empty/error state and accessibility

files-column-name = Name
files-column-size = Size
files-column-modified = Modified
files-try-again = Try Again
files-loading = Loading…
files-loading-folder = Loading { $path }
files-loading-title = Opening folder
files-loading-detail = Loading { $path }
files-directory-read-failed = Could not open this folder: { $error }
files-load-error-title = Couldn’t open this folder
files-load-error-detail = { $error } · { $path }
files-a11y-load-error = Could not load folder: { $error }. Try Again is available
files-a11y-panel-details = { $title }. { $summary }. { $details }. Press Escape to close
files-a11y-dialog-close = { $summary }. Press Escape to close
files-a11y-activity = Files activity
files-a11y-current-folder = Current folder: { $path }
files-a11y-places = Places
files-a11y-favourite = Favourite
files-a11y-system-location = System location
files-a11y-place-description = { $section }, { $path }
files-a11y-breadcrumbs = Breadcrumbs
files-a11y-current-breadcrumb = Current folder, { $path }. Press Enter to edit the path
files-a11y-open-folder = Open { $path }
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

## Properties

files-property-type = Type: { $type }
files-property-location = Location: { $location }
files-property-size = Size: { $size }
files-property-modified = Modified: { $time }
files-property-dimensions = Dimensions: { $width } × { $height }
files-property-duration = Duration: { $duration }
files-property-pages = Pages: { $count }
files-property-codec = Codec: { $codec }
files-property-container = Container: { $container }
files-property-unknown = Unknown
files-properties-title = Properties: { $name }
files-properties-summary = File details

## Ordinary operation results

files-new-folder-default-name = New Folder
files-created-folder = Created folder
files-new-folder-failed = New folder failed: { $error }
files-permanently-deleted = { $count ->
        [one] Permanently deleted { $count } item
       *[other] Permanently deleted { $count } items
    }
files-delete-failed = Delete failed: { $error }
files-moved-to-trash = { $count ->
        [one] Moved { $count } item to Trash
       *[other] Moved { $count } items to Trash
    }
files-restored = { $count ->
        [one] Restored { $count } item
       *[other] Restored { $count } items
    }
files-undo-move-trash = Undo Move to Trash
# The branches carry the count, so it is not repeated before the selector.
files-undo-trash-restored = Restored { $count ->
        [one] 1 item
       *[other] { $count } items
    }
files-undo-trash-unavailable = Undo is no longer available because Trash changed
files-undo-trash-failed = Could not restore the trashed items: { $error }
files-restore-failed = Restore failed: { $error }
files-trash-already-empty = Trash is already empty
files-emptied-trash = Emptied Trash ({ $count })
files-empty-trash-failed = Empty Trash failed: { $error }
files-copied = { $count ->
        [one] Copied { $count } item
       *[other] Copied { $count } items
    }
files-cut = { $count ->
        [one] Cut { $count } item
       *[other] Cut { $count } items
    }
files-created-file = Created file
files-new-file-failed = New file failed: { $error }
files-added-favourite = Added to Favourites
files-removed-favourite = Removed from Favourites
files-moved-with-failures = Moved { $moved } to “{ $destination }” ({ $failed } failed)
files-moved-to-folder = { $count ->
        [one] Moved { $count } item to “{ $destination }”
       *[other] Moved { $count } items to “{ $destination }”
    }
files-nothing-to-move = Nothing to move
files-pasted = { $count ->
        [one] Pasted { $count } item
       *[other] Pasted { $count } items
    }
files-pasted-with-failures = Pasted { $count } ({ $failed } failed)
files-renamed = Renamed
files-rename-failed = Rename failed: { $error }

## Context, view and sort menus

files-menu-open = Open
files-action-reveal = Reveal in Files
files-menu-restore = Restore
files-menu-delete-permanently = Delete Permanently
files-menu-empty-trash = Empty Trash
files-menu-rename = Rename
files-action-rename-prompt = New name
files-menu-cut = Cut
files-menu-copy = Copy
files-menu-properties = Properties…
files-menu-paste = Paste
files-menu-new-folder = New Folder
files-menu-new-file = New File  ›
files-menu-move-trash = Move to Trash
files-menu-add-favourite = Add to Favourites
files-menu-remove-favourite = Remove from Favourites
files-menu-hide-hidden = Hide Hidden Files
files-menu-show-hidden = Show Hidden Files
files-menu-sort-name = Sort by Name
files-menu-sort-size = Sort by Size
files-menu-sort-type = Sort by Type
files-menu-sort-date = Sort by Date
files-menu-open-terminal = Open Terminal Here
files-sort-name = Name
files-sort-size = Size
files-sort-type = Type
files-sort-date = Date
files-sort-ascending = Ascending
files-sort-descending = Descending
files-new-from-template = New { $name }
files-drag-items = { $count } items

## Archives

files-archive-extract = Extract archive…
files-archive-extract-here = Extract here
files-archive-compress = Compress to ZIP
files-archive-select-compress = Select files or folders to compress
files-archive-read-only = Archives are read-only until extracted
files-archive-open-after-extract = Extract this archive to open or edit files inside it
files-archive-select = Select a ZIP, TAR, or TAR.GZ archive to extract
files-archive-extracted = { $count ->
        [one] Extracted 1 file
       *[other] Extracted { $count } files
    }
files-archive-extracted-partial = Extracted { $count } files; { $failures }
files-archive-extract-failed = Could not extract archive: { $error }
files-archive-created = Created { $name }
files-archive-create-failed = Could not create archive: { $error }

## File-operation validation

files-folder-name-empty = Folder name cannot be empty
files-folder-name-slash = Folder name cannot contain '/'
files-name-empty = Name cannot be empty
files-name-slash = Name cannot contain '/'
files-no-parent = No parent directory
files-name-exists = “{ $name }” already exists
files-destination-inspect-failed = Cannot check “{ $path }”: { $error }
files-destination-names-exhausted = Too many files named “{ $name }” in “{ $path }”. Choose another name or folder.
files-source-no-name = Source has no file name
files-menu-send-nearby = Send to Nearby Device…
files-action-send-nearby-device = Send to { $device }
files-nearby-send-to-device = Send to { $device }
files-nearby-select-one = Select one file or folder to send.
files-nearby-loading-devices = Looking for nearby devices…
files-nearby-no-devices = No nearby devices are online
files-nearby-choose-device = Choose a device
files-nearby-queueing = Preparing a secure Nearby Send…
files-nearby-accepted = Nearby Send accepted
files-nearby-declined = Nearby Send declined
files-nearby-cancelled = Nearby Send cancelled
files-nearby-retrying = Retrying Nearby Send…
files-nearby-accept = Accept
files-nearby-retry = Retry
files-nearby-consent-detail = Nothing is saved until you accept this exact transfer.
files-nearby-retry-detail = The transfer can be retried or cancelled.
files-nearby-offer-title = Nearby Send from { $device }
files-nearby-offer-summary = Incoming: { $name }
files-nearby-offer-size = Size: { $size }
files-nearby-failed-title = Nearby Send failed
files-nearby-failed-device = Device: { $device }
files-nearby-choose-destination = Choose where to save it
files-nearby-no-destinations = No shared folder can receive this transfer
files-nearby-destination-count = { $count ->
        [one] { $count } destination available
       *[other] { $count } destinations available
    }
files-nearby-save-to-destination = Save to { $destination }
files-nearby-save-and-remember = Save to { $destination } and remember for this session
files-share-not-available = Sharing is not available for this item
files-name-invalid = This name is not valid
