# Files — deutsche Übersetzung.
# Variablen und Auswahlzweige müssen strukturell mit en-US.ftl übereinstimmen.

files-time-unknown = unbekannte Zeit

## Service and received-share errors/status

files-received-not-available = Der Dienst für empfangene Dateien ist nicht verfügbar
files-received-file = Geteilte Datei empfangen
files-received-mount-starting = Geteilte Datei zugelassen; Einbindung wird gestartet
files-received-admitted = Geteilte Datei zugelassen
files-received-link-read-failed = Der Link zur geteilten Datei konnte nicht gelesen werden
files-received-link-too-large = Der Link zur geteilten Datei überschreitet seine Grenze
files-received-link-invalid-text = Der Link zur geteilten Datei ist kein gültiger Text
files-received-link-empty = Der Link zur geteilten Datei ist leer

## Application chrome and navigation

files-app-title = Dateien
files-back = Zurück
files-forward = Vorwärts
files-up = Einen Ordner nach oben
files-place-home = Persönlicher Ordner

## List, empty/error state and accessibility

files-try-again = Erneut versuchen
files-loading-title = Ordner wird geöffnet
files-loading-detail = { $path } wird geladen
files-directory-read-failed = Dieser Ordner konnte nicht geöffnet werden: { $error }
files-load-error-title = Dieser Ordner konnte nicht geöffnet werden
files-load-error-detail = { $error } · { $path }
files-a11y-current-folder = Aktueller Ordner: { $path }
files-empty-trash = Der Papierkorb ist leer
files-empty-folder = Dieser Ordner ist leer
files-item-count = { $count } { $count ->
        [one] Objekt
       *[other] Objekte
    }
files-selected-count = { $base }  ·  { $count } ausgewählt
files-a11y-list = Dateien
files-a11y-folder = Ordner
files-a11y-file = Datei, { $size }
files-new-name-placeholder = Neuer Name

## Archives

files-archive-read-only = Archive sind schreibgeschützt, bis sie entpackt werden
