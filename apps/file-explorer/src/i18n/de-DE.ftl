# Variablen und Auswahlzweige müssen strukturell mit en-US.ftl übereinstimmen.
# Files — deutsche Übersetzung.

files-time-unknown = unbekannte Zeit

## Keyboard shortcuts

files-shortcuts-title = Tastenkürzel
files-shortcuts-summary = Diese Tasten wirken, solange die Dateiliste den Fokus hat
files-shortcuts-primary = Strg+A, Strg+C, Strg+X, Strg+V: alles auswählen, kopieren, ausschneiden und einfügen
files-shortcuts-navigate = Auf, Ab: in der Liste bewegen; mit Umschalt die Auswahl erweitern
files-shortcuts-grid = Links, Rechts: im Raster bewegen
files-shortcuts-open = Eingabe: das fokussierte Objekt öffnen
files-shortcuts-location = Strg+L: einen Ort eingeben
files-shortcuts-new-folder = Strg+Umschalt+N: neuer Ordner
files-shortcuts-edit = F2: umbenennen; Entf: in den Papierkorb verschieben; Strg+Z: Verschieben in den Papierkorb rückgängig machen
files-shortcuts-hidden = Strg+H: verborgene Dateien anzeigen oder ausblenden
files-shortcuts-size = Strg++, Strg+-, Strg+0: Objekte größer, kleiner oder in Standardgröße anzeigen
files-shortcuts-context = Menütaste: Kontextmenü öffnen; F5: neu laden
files-shortcuts-close = Esc: Menü oder Dialog schließen oder die Auswahl aufheben

## Availability actions and status

files-keep-offline = Offline verfügbar halten
files-use-automatic-storage = Automatische Speicherung verwenden
files-pinned-by-parent = Durch übergeordneten Ordner angeheftet
files-retry-download = Herunterladen erneut versuchen
files-free-local-space = Lokalen Speicher freigeben
files-no-pin-needed = Kein ausgewähltes Objekt muss offline angeheftet werden
files-no-direct-pin = Hier lässt sich keine direkte Offline-Anheftung ändern
files-keeping-offline = { $count ->
        [one] { $count } Objekt wird offline verfügbar gehalten
       *[other] { $count } Objekte werden offline verfügbar gehalten
    }
files-using-automatic = { $count ->
        [one] Automatische Speicherung für { $count } Objekt
       *[other] Automatische Speicherung für { $count } Objekte
    }
files-offline-policy-failed = Offline-Richtlinie fehlgeschlagen: { $errors }
files-no-retryable-transfer = Keine ausgewählte Übertragung kann wiederholt werden
files-retrying-transfers = { $count ->
        [one] { $count } Übertragung wird wiederholt
       *[other] { $count } Übertragungen werden wiederholt
    }
files-retry-failed = Wiederholen fehlgeschlagen: { $errors }
files-no-local-space-releasable = Kein ausgewähltes Objekt kann lokalen Speicher freigeben
files-freeing-local-space = { $count ->
        [one] Lokaler Speicher wird für { $count } Objekt freigegeben
       *[other] Lokaler Speicher wird für { $count } Objekte freigegeben
    }
files-free-local-space-failed = Freigeben des lokalen Speichers fehlgeschlagen: { $errors }
files-eviction-needs-confirmation = Die Sicherheit konnte nicht überprüft werden; eine Bestätigung ist erforderlich
files-destructive-eviction-title = Nicht überprüfte lokale Kopie entfernen?
files-destructive-eviction-summary = { $count ->
        [one] Für { $count } Objekt ist keine weitere Kopie bestätigt.
       *[other] Für { $count } Objekte ist keine weitere Kopie bestätigt.
    }
files-destructive-eviction-no-replica = Für diesen Inhalt konnte keine dauerhafte Replik bestätigt werden.
files-destructive-eviction-loss = Ist dies die einzige Kopie, geht der Inhalt beim Entfernen endgültig verloren.
files-destructive-eviction-protected = Offline verfügbar gehaltene Objekte bleiben auf diesem Gerät und werden nicht entfernt.
files-destructive-eviction-confirm = Lokale Kopie trotzdem entfernen
files-destructive-eviction-started = { $count ->
        [one] { $count } lokale Kopie wird entfernt
       *[other] { $count } lokale Kopien werden entfernt
    }
files-permanent-delete-title = { $count ->
        [one] { $count } Objekt endgültig löschen?
       *[other] { $count } Objekte endgültig löschen?
    }
files-permanent-delete-summary = { $count ->
        [one] { $count } ausgewähltes Objekt wird endgültig aus dem Papierkorb gelöscht.
       *[other] { $count } ausgewählte Objekte werden endgültig aus dem Papierkorb gelöscht.
    }
files-permanent-delete-loss = Dies kann nicht rückgängig gemacht werden.
files-permanent-delete-confirm = Endgültig löschen
files-empty-trash-title = Papierkorb endgültig leeren?
files-empty-trash-summary = { $count ->
        [one] 1 Objekt wird aus dem Papierkorb entfernt.
       *[other] Alle { $count } Objekte werden aus dem Papierkorb entfernt.
    }
files-empty-trash-confirm = Papierkorb leeren

## Properties and availability sheet

files-property-collaborative-record = Kollaborationsdatensatz: { $record }
files-property-content = Inhalt: { $hash }…
files-residency-metadata-only = nur Metadaten
files-residency-partly-local = teilweise heruntergeladen ({ $bytes })
files-residency-local = vollständig heruntergeladen ({ $bytes })
files-property-on-device = Auf diesem Gerät: { $state }
files-property-sharing = Aktive Freigaben: { $count }
files-property-history = Versionen: { $versions } · Offene Konflikte: { $conflicts }
files-properties-collab-summary = Gemeinsam bearbeitete Datei in einem geteilten Arbeitsbereich
files-availability-title = Verfügbarkeit: { $name }
files-availability-title-short = Verfügbarkeit …
files-not-stored = Nicht auf diesem Gerät gespeichert
files-partly-stored = Teilweise auf diesem Gerät gespeichert ({ $bytes })
files-stored = Auf diesem Gerät gespeichert ({ $bytes })
files-kept-offline-parent = Durch einen übergeordneten Ordner offline verfügbar
files-kept-offline = Offline verfügbar gehalten
files-automatic-storage = Automatische Speicherung
files-replica-unverified = Repliken nicht überprüft
files-replica-counts = Repliken: { $reachable } erreichbar, { $durable } dauerhaft
files-transfer-state = Übertragung: { $state }
files-transfer-idle = inaktiv
files-transfer-queued = in der Warteschlange
files-transfer-downloading = wird heruntergeladen
files-transfer-uploading = wird hochgeladen
files-transfer-verifying = wird überprüft

## Sharing

files-search-collaborative-records = Gemeinsame Dateien
files-search-record-provenance = Kollaborationsdatensatz
files-copy-one-time-link = Einmal-Freigabelink kopieren
files-share-composer-named = Mit { $person } teilen: { $permission }, { $expiry }
files-share-composer-link = Link: { $permission }, { $expiry }, { $uses }
files-share-choice-view = darf ansehen
files-share-choice-edit = darf bearbeiten
files-share-choice-day = läuft nach 1 Tag ab
files-share-choice-week = läuft nach 1 Woche ab
files-share-choice-month = läuft nach 30 Tagen ab
files-share-choice-never = läuft nie ab
files-share-choice-one-use = einmal nutzbar
files-share-choice-bounded-uses = { $count ->
        [one] höchstens { $count } Nutzung
       *[other] höchstens { $count } Nutzungen
    }
files-share-creating = Freigabelink wird erstellt …
files-share-invalid-options = Diese Freigabeoptionen sind ungültig
files-share-link-needs-expiry = Freigabelinks benötigen ein Ablaufdatum
files-share-invalid-uses = Freigabelinks benötigen eine Nutzungsgrenze von 1 bis 1.000
files-share-recipient-unreachable = Diese Person hat kein zertifiziertes Empfangsgerät
files-sharing-access = Freigabe und Zugriff …
files-share-with = Mit { $person } teilen
files-revoke-subject = Widerrufen: { $subject }
files-shared-link = geteilter Link
files-share-link-pending = Ein Freigabelink wird bereits erstellt
files-share-change-pending = Eine Freigabeänderung läuft bereits
files-select-collaborative-file = Wählen Sie eine gemeinsam bearbeitete Datei aus
files-select-shared-file = Wählen Sie eine geteilte Datei aus
files-sharing-unavailable = Freigaben sind in diesem Arbeitsbereich nicht verfügbar
files-creating-one-use-link = Einmal-Freigabelink wird erstellt …
files-share-with-progress = Wird mit { $person } geteilt …
files-revoking-access = Zugriff wird widerrufen …
files-not-shared = Nicht geteilt
files-anyone-link = Alle mit dem Link
files-can-view = Darf ansehen
files-can-edit = Darf bearbeiten
files-grant-active = aktiv
files-grant-expired = abgelaufen
files-grant-revoked = widerrufen
files-grant-exhausted = aufgebraucht
files-no-expiry = kein Ablaufdatum
files-expires = läuft ab: { $time }
files-share-grant-line = { $subject } · { $permission } · { $status } · { $expiry }
files-sharing-title = Freigabe: { $name }
files-certified-devices = { $person }: { $devices }
files-certified-device-detail = { $device } · { $fingerprint } · { $capabilities } · ausgestellt { $issued } · { $expiry }
files-device-cap-own = besitzt Arbeitsbereiche
files-device-cap-admit = lässt Geräte zu
files-device-cap-host = dient als Host
files-device-cap-read-all = liest alle Arbeitsbereiche
files-device-cap-member = Mitglied
files-sharing-summary = { $count } { $count ->
        [one] aktive Freigabe
       *[other] aktive Freigaben
    }
files-link-copied = Freigabelink in die Zwischenablage kopiert
files-share-created = Mit { $person } geteilt
files-share-created-pending = Mit { $person } geteilt; die Zustellung an die Geräte steht noch aus
files-share-created-delivered = Mit { $person } geteilt und an die Geräte zugestellt
files-access-revoked = Zugriff widerrufen
files-share-inactive = Diese Freigabe war nicht mehr aktiv

## History and conflict resolution

files-version-history = Versionsverlauf …
files-restore-previous = Vorherige Version wiederherstellen
files-resolve-keep-current = Konflikt lösen: aktuelle Version behalten
files-resolve-use-other = Konflikt lösen: andere Version verwenden
files-history-version-line = { $action } von { $person }, { $time }
files-history-older = { $count ->
        [one] { $count } ältere Version
       *[other] { $count } ältere Versionen
    }
files-conflict-needs-review = Konflikt muss geprüft werden
files-conflict-resolved-strategy = Konflikt gelöst: { $strategy }
files-conflict-resolved = Konflikt gelöst
files-strategy-keep-current = Aktuelle Version behalten
files-strategy-use-other = Andere Version verwenden
files-strategy-keep-both = Beide Versionen behalten
files-strategy-merge = Zusammenführen
files-conflict-line = Konflikt { $conflict }: { $status }
files-conflict-resolve-hint = Behalten Sie über das Kontextmenü die aktuelle Version oder verwenden Sie die andere
files-conflict-unsupported-hint = Diese Art von Konflikt lässt sich hier nicht lösen
files-history-title = Versionsverlauf: { $name }
files-history-summary = Versionen: { $versions } · Aktuelle Stände: { $heads }
files-history-change-pending = Eine Änderung am Verlauf läuft bereits
files-select-file-with-history = Wählen Sie eine Datei mit Versionsverlauf aus
files-version-restored = Version wiederhergestellt
files-restoring-version = Version wird wiederhergestellt …
files-keeping-current = Aktuelle Version wird behalten …
files-applying-other = Andere Version wird übernommen …
files-merging-versions = Versionen werden zusammengeführt …
files-merge-review-menu = Zusammenführung prüfen
files-merge-review-title = Zusammenführung prüfen: { $name }
files-merge-review-summary = Prüfung der Zusammenführung
files-merge-review-checking = Es wird geprüft, ob sich beide Änderungen sicher zusammenführen lassen …
files-merge-review-checking-detail = Kavo vergleicht beide Änderungen mit ihrer gemeinsamen Basis. Währenddessen wird nichts geändert.
files-merge-review-safe = Beide Änderungen lassen sich sicher zusammenführen
files-merge-review-needs-review = Diese Zusammenführung muss von Hand geprüft werden
files-merge-review-unavailable = Für diesen Konflikt ist keine Prüfung der Zusammenführung verfügbar
files-merge-review-no-apply = Diese Zusammenführung wird nicht automatisch übernommen.
files-merge-review-incoming = Eingehende Änderung von Gerät { $device }
files-merge-review-diff = Änderungen: { $summary }
files-merge-review-guard = Kavo prüft vor dem Übernehmen die genaue Basis und beide Revisionen erneut und bricht ab, falls sich eine davon geändert hat.
files-merge-review-undo = Die Zusammenführung wird als neue Version gespeichert und kann über den Versionsverlauf rückgängig gemacht werden.
files-merge-apply-safe = Sichere Zusammenführung übernehmen
files-merge-apply-safe-detail = Übernimmt die geprüfte Zusammenführung als neue signierte Version
files-conflict-workflow-required = Zusammenführungen werden über „Zusammenführung prüfen“ übernommen
files-conflict-resolved-signed = Konflikt gelöst; die neue Version ist signiert
files-history-change-saved = Änderung am Verlauf gespeichert
files-history-action-created = Erstellt
files-history-action-edited = Bearbeitet
files-history-action-renamed = Umbenannt
files-history-action-moved = Verschoben
files-history-action-deleted = Gelöscht
files-history-action-conflict-resolved = Konflikt gelöst
files-history-action-restored = Wiederhergestellt
files-history-action-changed = Geändert
files-history-current-version = Aktuelle Version
files-history-timeline-detail = Wählen Sie eine Version aus, um sie anzusehen oder mit der aktuellen zu vergleichen
files-history-preview-title = Version vom { $time }
files-history-compare-title = Mit der aktuellen Version vergleichen
files-history-selected-action = Änderung: { $action }
files-history-selected-by = Von: { $person }
files-history-selected-at = Zeitpunkt: { $time }
files-history-version-id = Version: { $id }
files-history-content-identity = Inhalt: { $hash }
files-history-metadata-identity = Metadaten: { $hash }
files-history-no-content = Für diese Version ist kein Inhalt aufgezeichnet
files-history-compare-content = Inhalt: { $state }
files-history-compare-metadata = Metadaten: { $state }
files-history-same = gleich
files-history-different = verschieden
files-history-show-activity = Aktivität anzeigen
files-history-compare = Vergleichen
files-history-hide-compare = Vergleich ausblenden
files-history-restore-selected = Diese Version wiederherstellen
files-history-current-version-label = Aktuell
files-history-timeline-a11y = Versionszeitleiste, { $count } { $count ->
        [one] Version
       *[other] Versionen
    }
files-history-timeline-a11y-item = { $action } von { $person }, { $time }

## Accessible collaborative state

files-a11y-transfer-failed = Übertragung fehlgeschlagen
files-a11y-transfer-queued = Übertragung in der Warteschlange
files-a11y-downloading = Wird heruntergeladen
files-a11y-uploading = Wird hochgeladen
files-a11y-verifying = Wird überprüft
files-a11y-online-only = Nur online
files-a11y-partly-offline = Teilweise offline verfügbar
files-a11y-available-offline = Offline verfügbar
files-a11y-kept-offline-parent = Durch einen übergeordneten Ordner offline verfügbar gehalten
files-a11y-kept-offline = Offline verfügbar gehalten
files-a11y-replica-unknown = Replikation unbekannt
files-a11y-durably-replicated = Dauerhaft repliziert
files-a11y-not-durably-replicated = Nicht dauerhaft repliziert
files-a11y-shared-recipients = { $count ->
        [one] Mit { $count } Empfänger geteilt
       *[other] Mit { $count } Empfängern geteilt
    }
files-a11y-version-conflict = Versionskonflikt

## Service and received-share errors/status

files-history-encode-failed = Die Verlaufsanfrage konnte nicht kodiert werden
files-history-request-too-large = Die Verlaufsanfrage überschreitet ihre Übertragungsgrenze
files-history-restore-failed = Diese Version konnte nicht wiederhergestellt werden: { $error }
files-conflict-strategy-unsupported = Die Konfliktstrategie { $strategy } wird nicht unterstützt
files-conflict-encode-failed = Die Konfliktanfrage konnte nicht kodiert werden
files-conflict-request-too-large = Die Konfliktanfrage überschreitet ihre Übertragungsgrenze
files-conflict-resolve-failed = Dieser Konflikt konnte nicht gelöst werden: { $error }
files-share-wrong-response = Der Freigabedienst hat die falsche Antwort geliefert
files-share-runtime-failed = Der Freigabe-Client konnte nicht gestartet werden: { $error }
files-share-unavailable-error = Freigabedienst nicht verfügbar: { $error }
files-share-encode-failed = Die Freigabeanfrage konnte nicht kodiert werden: { $error }
files-share-request-too-large = Die Freigabeanfrage überschreitet ihre Übertragungsgrenze
files-share-request-failed = Der Link konnte nicht angefordert werden: { $error }
files-share-flush-failed = Die Freigabeanfrage konnte nicht gesendet werden: { $error }
files-share-no-response = Der Freigabedienst hat nicht geantwortet: { $error }
files-share-response-too-large = Der Freigabedienst hat eine übergroße Antwort geliefert
files-share-response-truncated = Die Antwort des Freigabedienstes war abgeschnitten: { $error }
files-share-response-invalid = Ungültige Antwort des Freigabedienstes: { $error }
files-share-refused = Der Freigabedienst hat die Anfrage abgelehnt ({ $code })
files-received-refused = Der Dienst für empfangene Dateien hat den Link abgelehnt ({ $code })
files-received-retry-refused = Der Dienst für empfangene Dateien konnte den Vorgang nicht wiederholen ({ $code })
files-received-wrong-response = Der Dienst für empfangene Dateien hat die falsche Antwort geliefert
files-received-runtime-failed = Der Client für empfangene Dateien konnte nicht gestartet werden: { $error }
files-received-encode-failed = Die Anfrage für empfangene Dateien konnte nicht kodiert werden
files-received-request-too-large = Die Anfrage für empfangene Dateien überschreitet ihre Grenze
files-received-unavailable = Der Dienst für empfangene Dateien ist nicht erreichbar
files-received-no-response = Der Dienst für empfangene Dateien hat nicht geantwortet
files-received-response-too-large = Der Dienst für empfangene Dateien hat eine übergroße Antwort geliefert
files-received-response-truncated = Die Antwort des Dienstes für empfangene Dateien war abgeschnitten
files-received-response-invalid = Der Dienst für empfangene Dateien hat eine ungültige Antwort geliefert
files-received-not-available = Der Dienst für empfangene Dateien ist nicht verfügbar
files-received-fd-clone-failed = Der Deskriptor des Dienstes für empfangene Dateien konnte nicht dupliziert werden
files-received-fd-invalid = Der Deskriptor des Dienstes für empfangene Dateien ist ungültig
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
files-view-list = Liste
files-view-grid = Raster
files-sort-by = Sortieren nach
files-view-options = Ansichtsoptionen
files-path-placeholder = Pfad eingeben, z. B. ~/Dokumente
files-place-home = Persönlicher Ordner
files-place-favourites = Favoriten
files-place-favorites = Favoriten
files-place-system = System
files-place-root = Wurzelordner
files-place-trash = Papierkorb
files-place-workspace = Arbeitsbereich
files-place-documents = Dokumente
files-place-downloads = Downloads
files-place-pictures = Bilder
files-place-music = Musik
files-place-videos = Videos

## List, empty/error state and accessibility

files-column-name = Name
files-column-size = Größe
files-column-modified = Geändert
files-try-again = Erneut versuchen
files-loading = Wird geladen …
files-loading-folder = { $path } wird geladen
files-loading-title = Ordner wird geöffnet
files-loading-detail = { $path } wird geladen
files-directory-read-failed = Dieser Ordner konnte nicht geöffnet werden: { $error }
files-load-error-title = Dieser Ordner konnte nicht geöffnet werden
files-load-error-detail = { $error } · { $path }
files-a11y-load-error = Ordner konnte nicht geladen werden: { $error }. „Erneut versuchen“ ist verfügbar
files-a11y-panel-details = { $title }. { $summary }. { $details }. Drücken Sie Esc, um zu schließen
files-a11y-dialog-close = { $summary }. Drücken Sie Esc, um zu schließen
files-a11y-activity = Aktivität in Dateien
files-a11y-current-folder = Aktueller Ordner: { $path }
files-a11y-places = Orte
files-a11y-favourite = Favorit
files-a11y-system-location = Systemort
files-a11y-place-description = { $section }, { $path }
files-a11y-breadcrumbs = Pfadleiste
files-a11y-current-breadcrumb = Aktueller Ordner, { $path }. Drücken Sie die Eingabetaste, um den Pfad zu bearbeiten
files-a11y-open-folder = { $path } öffnen
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

## Properties

files-property-type = Typ: { $type }
files-property-location = Ort: { $location }
files-property-size = Größe: { $size }
files-property-modified = Geändert: { $time }
files-property-dimensions = Abmessungen: { $width } × { $height }
files-property-duration = Dauer: { $duration }
files-property-pages = Seiten: { $count }
files-property-codec = Codec: { $codec }
files-property-container = Container: { $container }
files-property-unknown = Unbekannt
files-properties-title = Eigenschaften: { $name }
files-properties-summary = Dateidetails

## Ordinary operation results

files-new-folder-default-name = Neuer Ordner
files-created-folder = Ordner erstellt
files-new-folder-failed = Ordner konnte nicht erstellt werden: { $error }
files-permanently-deleted = { $count ->
        [one] { $count } Objekt endgültig gelöscht
       *[other] { $count } Objekte endgültig gelöscht
    }
files-delete-failed = Löschen fehlgeschlagen: { $error }
files-moved-to-trash = { $count ->
        [one] { $count } Objekt in den Papierkorb verschoben
       *[other] { $count } Objekte in den Papierkorb verschoben
    }
files-restored = { $count ->
        [one] { $count } Objekt wiederhergestellt
       *[other] { $count } Objekte wiederhergestellt
    }
files-undo-move-trash = Verschieben in den Papierkorb rückgängig machen
files-undo-trash-restored = { $count ->
        [one] 1 Objekt
       *[other] { $count } Objekte
    } wiederhergestellt
files-undo-trash-unavailable = Rückgängigmachen ist nicht mehr möglich, weil sich der Papierkorb geändert hat
files-undo-trash-failed = Die Objekte aus dem Papierkorb konnten nicht wiederhergestellt werden: { $error }
files-restore-failed = Wiederherstellen fehlgeschlagen: { $error }
files-trash-already-empty = Der Papierkorb ist bereits leer
files-emptied-trash = Papierkorb geleert ({ $count })
files-empty-trash-failed = Leeren des Papierkorbs fehlgeschlagen: { $error }
files-copied = { $count ->
        [one] { $count } Objekt kopiert
       *[other] { $count } Objekte kopiert
    }
files-cut = { $count ->
        [one] { $count } Objekt ausgeschnitten
       *[other] { $count } Objekte ausgeschnitten
    }
files-created-file = Datei erstellt
files-new-file-failed = Datei konnte nicht erstellt werden: { $error }
files-added-favourite = Zu Favoriten hinzugefügt
files-removed-favourite = Aus Favoriten entfernt
files-moved-with-failures = { $moved } nach „{ $destination }“ verschoben ({ $failed } fehlgeschlagen)
files-moved-to-folder = { $count ->
        [one] { $count } Objekt nach „{ $destination }“ verschoben
       *[other] { $count } Objekte nach „{ $destination }“ verschoben
    }
files-nothing-to-move = Nichts zu verschieben
files-pasted = { $count ->
        [one] { $count } Objekt eingefügt
       *[other] { $count } Objekte eingefügt
    }
files-pasted-with-failures = { $count } eingefügt ({ $failed } fehlgeschlagen)
files-renamed = Umbenannt
files-rename-failed = Umbenennen fehlgeschlagen: { $error }

## Context, view and sort menus

files-menu-open = Öffnen
files-action-reveal = In Dateien anzeigen
files-menu-restore = Wiederherstellen
files-menu-delete-permanently = Endgültig löschen
files-menu-empty-trash = Papierkorb leeren
files-menu-rename = Umbenennen
files-action-rename-prompt = Neuer Name
files-menu-cut = Ausschneiden
files-menu-copy = Kopieren
files-menu-properties = Eigenschaften …
files-menu-paste = Einfügen
files-menu-new-folder = Neuer Ordner
files-menu-new-file = Neue Datei  ›
files-menu-move-trash = In den Papierkorb verschieben
files-menu-add-favourite = Zu Favoriten hinzufügen
files-menu-remove-favourite = Aus Favoriten entfernen
files-menu-hide-hidden = Verborgene Dateien ausblenden
files-menu-show-hidden = Verborgene Dateien anzeigen
files-menu-sort-name = Nach Name sortieren
files-menu-sort-size = Nach Größe sortieren
files-menu-sort-type = Nach Typ sortieren
files-menu-sort-date = Nach Datum sortieren
files-menu-open-terminal = Terminal hier öffnen
files-sort-name = Name
files-sort-size = Größe
files-sort-type = Typ
files-sort-date = Datum
files-sort-ascending = Aufsteigend
files-sort-descending = Absteigend
files-new-from-template = Neu: { $name }
files-drag-items = { $count } Objekte

## Archives

files-archive-extract = Archiv entpacken …
files-archive-extract-here = Hier entpacken
files-archive-compress = Als ZIP komprimieren
files-archive-select-compress = Wählen Sie Dateien oder Ordner zum Komprimieren aus
files-archive-read-only = Archive sind schreibgeschützt, bis sie entpackt werden
files-archive-open-after-extract = Entpacken Sie dieses Archiv, um die enthaltenen Dateien zu öffnen oder zu bearbeiten
files-archive-select = Wählen Sie ein ZIP-, TAR- oder TAR.GZ-Archiv zum Entpacken aus
files-archive-extracted = { $count ->
        [one] 1 Datei entpackt
       *[other] { $count } Dateien entpackt
    }
files-archive-extracted-partial = { $count } Dateien entpackt; { $failures }
files-archive-extract-failed = Archiv konnte nicht entpackt werden: { $error }
files-archive-created = { $name } erstellt
files-archive-create-failed = Archiv konnte nicht erstellt werden: { $error }

## File-operation validation

files-folder-name-empty = Der Ordnername darf nicht leer sein
files-folder-name-slash = Der Ordnername darf kein „/“ enthalten
files-name-empty = Der Name darf nicht leer sein
files-name-slash = Der Name darf kein „/“ enthalten
files-no-parent = Kein übergeordneter Ordner
files-name-exists = „{ $name }“ ist bereits vorhanden
files-destination-inspect-failed = „{ $path }“ kann nicht geprüft werden: { $error }
files-destination-names-exhausted = Zu viele Dateien namens „{ $name }“ in „{ $path }“. Wählen Sie einen anderen Namen oder Ordner.
files-source-no-name = Die Quelle hat keinen Dateinamen
files-menu-send-nearby = An Gerät in der Nähe senden …
files-action-send-nearby-device = An { $device } senden
files-nearby-send-to-device = An { $device } senden
files-nearby-select-one = Wählen Sie genau eine Datei oder einen Ordner zum Senden aus.
files-nearby-loading-devices = Geräte in der Nähe werden gesucht …
files-nearby-no-devices = Keine Geräte in der Nähe online
files-nearby-choose-device = Gerät auswählen
files-nearby-queueing = Sicheres Senden in der Nähe wird vorbereitet …
files-nearby-accepted = Übertragung angenommen
files-nearby-declined = Übertragung abgelehnt
files-nearby-cancelled = Übertragung abgebrochen
files-nearby-retrying = Übertragung wird wiederholt …
files-nearby-accept = Annehmen
files-nearby-retry = Wiederholen
files-nearby-consent-detail = Es wird nichts gespeichert, bis Sie genau diese Übertragung annehmen.
files-nearby-retry-detail = Die Übertragung kann wiederholt oder abgebrochen werden.
files-nearby-offer-title = Übertragung von { $device }
files-nearby-offer-summary = Eingehend: { $name }
files-nearby-offer-size = Größe: { $size }
files-nearby-failed-title = Senden in der Nähe fehlgeschlagen
files-nearby-failed-device = Gerät: { $device }
files-nearby-choose-destination = Speicherort auswählen
files-nearby-no-destinations = Kein geteilter Ordner kann diese Übertragung aufnehmen
files-nearby-destination-count = { $count ->
        [one] { $count } Ziel verfügbar
       *[other] { $count } Ziele verfügbar
    }
files-nearby-save-to-destination = In { $destination } speichern
files-nearby-save-and-remember = In { $destination } speichern und für diese Sitzung merken
files-share-not-available = Freigabe ist für dieses Objekt nicht verfügbar
files-name-invalid = Dieser Name ist ungültig
