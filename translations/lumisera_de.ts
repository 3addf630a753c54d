<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutBrowser</name>
    <message>
        <source>About Lumisera</source>
        <translation>Über Lumisera</translation>
    </message>
    <message>
        <source>&lt;p&gt;The about page is missing from this installation of Lumisera.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Die Info-Seite fehlt in dieser Installation von Lumisera.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>AboutView</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>AddFolder</name>
    <message>
        <source>Tap to Add Folder</source>
        <translation>Tippen, um einen Ordner hinzuzufügen</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Directory not accessible</source>
        <translation>Ordner nicht zugänglich</translation>
    </message>
    <message>
        <source>Document directory not found, can&apos;t download updates.</source>
        <translation>Dokumentordner nicht gefunden, Aktualisierungen können nicht geladen werden.</translation>
    </message>
</context>
<context>
    <name>BackgroundImageMenu</name>
    <message>
        <source>Background Image</source>
        <translation>Hintergrundbild</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keines</translation>
    </message>
    <message>
        <source>Rotate Daily</source>
        <translation>Täglich wechseln</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Rings</source>
        <translation>Ringe</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Spiegel</translation>
    </message>
    <message>
        <source>Water&apos;s Edge</source>
        <translation>Am Wasser</translation>
    </message>
    <message>
        <source>Flower</source>
        <translation>Blume</translation>
    </message>
    <message>
        <source>Triplets</source>
        <translation>Drillinge</translation>
    </message>
    <message>
        <source>In the Dark</source>
        <translation>Im Dunkeln</translation>
    </message>
    <message>
        <source>Life in the Sand</source>
        <translation>Leben im Sand</translation>
    </message>
</context>
<context>
    <name>ChangePasscodeState</name>
    <message>
        <source>The current passcode is not correct.</source>
        <translation>Der aktuelle Zugangscode ist nicht richtig.</translation>
    </message>
    <message>
        <source>Enter the new passcode this change was started with.</source>
        <translation>Geben Sie den neuen Zugangscode ein, mit dem diese Änderung begonnen wurde.</translation>
    </message>
    <message>
        <source>That is not the new passcode this change was started with.</source>
        <translation>Das ist nicht der neue Zugangscode, mit dem diese Änderung begonnen wurde.</translation>
    </message>
    <message>
        <source>The passcode change stopped unexpectedly; it can be resumed.</source>
        <translation>Die Änderung des Zugangscodes wurde unerwartet angehalten; sie kann fortgesetzt werden.</translation>
    </message>
    <message>
        <source>%1 of %2 files, %3 of %4 MiB</source>
        <translation>%1 von %2 Dateien, %3 von %4 MiB</translation>
    </message>
    <message numerus="yes">
        <source>, about %n s left</source>
        <translation>
            <numerusform>, noch etwa %n s</numerusform>
            <numerusform>, noch etwa %n s</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ChangePasscodeView</name>
    <message>
        <source>Current passcode</source>
        <translation>Aktueller Zugangscode</translation>
    </message>
    <message>
        <source>New passcode</source>
        <translation>Neuer Zugangscode</translation>
    </message>
    <message>
        <source>Repeat new passcode</source>
        <translation>Neuen Zugangscode wiederholen</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Fortsetzen</translation>
    </message>
    <message>
        <source>Change Passcode</source>
        <translation>Zugangscode ändern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Finish Changing the Passcode</source>
        <translation>Änderung des Zugangscodes abschließen</translation>
    </message>
    <message>
        <source>A passcode change did not finish. The vault opens again once it has: enter the current passcode to go on where it stopped.</source>
        <translation>Eine Änderung des Zugangscodes wurde nicht abgeschlossen. Der Tresor öffnet sich erst wieder, wenn sie abgeschlossen ist: Geben Sie den aktuellen Zugangscode ein, um dort fortzufahren, wo sie angehalten hat.</translation>
    </message>
    <message>
        <source>Every file and PIN in both folder trees is encrypted again with the new passcode. Each file keeps opening with the old or the new passcode at every moment; if the change is stopped, it goes on where it stopped.</source>
        <translation>Jede Datei und jede PIN in beiden Ordnerbäumen wird mit dem neuen Zugangscode neu verschlüsselt. Jede Datei lässt sich jederzeit mit dem alten oder dem neuen Zugangscode öffnen; wird die Änderung angehalten, geht sie dort weiter, wo sie angehalten wurde.</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>The passcode was changed. Unlock with the new passcode.</source>
        <translation>Der Zugangscode wurde geändert. Entsperren Sie mit dem neuen Zugangscode.</translation>
    </message>
    <message>
        <source>These files did not open with the old passcode and were left as they were:</source>
        <translation>Diese Dateien ließen sich mit dem alten Zugangscode nicht öffnen und blieben unverändert:</translation>
    </message>
</context>
<context>
    <name>CheckVaultState</name>
    <message>
        <source>Unlock the vault to check it.</source>
        <translation>Entsperren Sie den Tresor, um ihn zu prüfen.</translation>
    </message>
    <message>
        <source>Stopping…</source>
        <translation>Wird angehalten…</translation>
    </message>
    <message>
        <source>Checking… Files: %1 (%2)</source>
        <translation>Wird geprüft… Dateien: %1 (%2)</translation>
    </message>
    <message>
        <source>Stopped. Files checked: %1 (%2). What was found so far:</source>
        <translation>Angehalten. Geprüfte Dateien: %1 (%2). Bisher gefunden:</translation>
    </message>
    <message>
        <source>Nothing is wrong. Files checked: %1 (%2).</source>
        <translation>Alles in Ordnung. Geprüfte Dateien: %1 (%2).</translation>
    </message>
    <message>
        <source>Problems found: %1. Files checked: %2 (%3).</source>
        <translation>Gefundene Probleme: %1. Geprüfte Dateien: %2 (%3).</translation>
    </message>
    <message>
        <source>Cloud</source>
        <translation>Cloud</translation>
    </message>
    <message>
        <source>Local</source>
        <translation>Lokal</translation>
    </message>
</context>
<context>
    <name>CheckVaultView</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Check Vault</source>
        <translation>Tresor prüfen</translation>
    </message>
    <message>
        <source>Looks at every stored file and reports what is wrong, changing nothing.</source>
        <translation>Sieht sich jede gespeicherte Datei an und meldet, was nicht stimmt, ohne etwas zu ändern.</translation>
    </message>
    <message>
        <source>Checking</source>
        <translation>Prüfung</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Bericht</translation>
    </message>
</context>
<context>
    <name>CloudContainerLink</name>
    <message>
        <source>No folder was chosen.</source>
        <translation>Es wurde kein Ordner gewählt.</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>Der Ordner %1 existiert nicht.</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 ist kein Ordner.</translation>
    </message>
    <message>
        <source>%1 overlaps the on-device vault (%2); choose a folder outside it.</source>
        <translation>%1 überschneidet sich mit dem Tresor auf diesem Gerät (%2); wählen Sie einen Ordner außerhalb davon.</translation>
    </message>
    <message>
        <source>A cloud folder is already set up at %1; it is left as it is.</source>
        <translation>Unter %1 ist bereits ein Cloud-Ordner eingerichtet; er bleibt unverändert.</translation>
    </message>
    <message>
        <source>Could not create the folder %1.</source>
        <translation>Der Ordner %1 konnte nicht erstellt werden.</translation>
    </message>
    <message>
        <source>Could not link %1 to %2: %3</source>
        <translation>%1 konnte nicht mit %2 verknüpft werden: %3</translation>
    </message>
</context>
<context>
    <name>ColorSchemePicker</name>
    <message>
        <source>Color scheme</source>
        <translation>Farbschema</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>unknown option &quot;%1&quot;; see lumisera-vault --help</source>
        <translation>unbekannte Option &quot;%1&quot;; siehe lumisera-vault --help</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;; see lumisera-vault --help</source>
        <translation>unbekannter Befehl &quot;%1&quot;; siehe lumisera-vault --help</translation>
    </message>
    <message>
        <source>Usage: lumisera-vault [--cloud] [--passcode-stdin] COMMAND [ARGS]

The command-line companion of Lumisera&apos;s vault.

Options:
  --cloud           use the vault in the cloud container
  --passcode-stdin  read the passcode from the first line of standard input
  -h, --help        show this help

Commands (COMMAND --help for details):
</source>
        <translation>Aufruf: lumisera-vault [--cloud] [--passcode-stdin] BEFEHL [ARGUMENTE]

Der Kommandozeilen-Begleiter des Tresors von Lumisera.

Optionen:
  --cloud           den Tresor im Cloud-Container verwenden
  --passcode-stdin  den Zugangscode aus der ersten Zeile der Standardeingabe lesen
  -h, --help        diese Hilfe anzeigen

Befehle (BEFEHL --help für Einzelheiten):
</translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Lumisera</source>
        <translation>Lumisera</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Unlock with fingerprint</source>
        <translation>Mit Fingerabdruck entsperren</translation>
    </message>
    <message>
        <source>Touch the fingerprint reader</source>
        <translation>Berühren Sie den Fingerabdrucksensor</translation>
    </message>
    <message>
        <source>Enter manually</source>
        <translation>Manuell eingeben</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Color scheme</source>
        <translation>Farbschema</translation>
    </message>
    <message>
        <source>About Lumisera</source>
        <translation>Über Lumisera</translation>
    </message>
    <message>
        <source>Support Lumisera</source>
        <translation>Lumisera unterstützen</translation>
    </message>
    <message>
        <source>The passcode could not be checked: %1. Press Return to try again.</source>
        <translation>Der Zugangscode konnte nicht geprüft werden: %1. Drücken Sie die Eingabetaste, um es erneut zu versuchen.</translation>
    </message>
    <message>
        <source>Waiting for the desktop keyring…</source>
        <translation>Warten auf den Schlüsselbund der Arbeitsumgebung…</translation>
    </message>
    <message>
        <source>Tap to Set Passcode</source>
        <translation>Tippen, um den Zugangscode festzulegen</translation>
    </message>
    <message>
        <source>Tap to Unlock</source>
        <translation>Zum Entsperren tippen</translation>
    </message>
    <message>
        <source>Tap to Open</source>
        <translation>Zum Öffnen tippen</translation>
    </message>
    <message>
        <source>The passcode cannot be read: %1. Tap to try again.</source>
        <translation>Der Zugangscode kann nicht gelesen werden: %1. Tippen Sie, um es erneut zu versuchen.</translation>
    </message>
</context>
<context>
    <name>DailyMessage</name>
    <message>
        <source>Live for today, tomorrow is not a given.</source>
        <translation>Lebe für heute, das Morgen ist nicht gewiss.</translation>
    </message>
    <message>
        <source>Unknown Author</source>
        <translation>Unbekannter Autor</translation>
    </message>
</context>
<context>
    <name>DecryptedData</name>
    <message>
        <source>The file could not be opened: %1</source>
        <translation>Die Datei konnte nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>The file is too large to show.</source>
        <translation>Die Datei ist zu groß zum Anzeigen.</translation>
    </message>
    <message>
        <source>The file could not be read: %1</source>
        <translation>Die Datei konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The vault is locked.</source>
        <translation>Der Tresor ist gesperrt.</translation>
    </message>
    <message>
        <source>The file could not be decrypted.</source>
        <translation>Die Datei konnte nicht entschlüsselt werden.</translation>
    </message>
</context>
<context>
    <name>DeleteFileView</name>
    <message>
        <source>Deleting files cannot be undone; there is no way to recover files once deleted.

Are you sure you want to continue?</source>
        <translation>Das Löschen von Dateien kann nicht rückgängig gemacht werden; gelöschte Dateien lassen sich auf keine Weise wiederherstellen.

Möchten Sie wirklich fortfahren?</translation>
    </message>
    <message>
        <source>Delete Items</source>
        <translation>Objekte löschen</translation>
    </message>
    <message>
        <source>Deleting files can not be undone!</source>
        <translation>Das Löschen von Dateien kann nicht rückgängig gemacht werden!</translation>
    </message>
    <message>
        <source>Deleting.. </source>
        <translation>Wird gelöscht.. </translation>
    </message>
</context>
<context>
    <name>DeleteFolderView</name>
    <message>
        <source>Deleting this folder will delete all contained files. There is no way to recover the contained files once this folder is deleted. There is no way to cancel the deletion once begun.

Are you sure you want to continue?</source>
        <translation>Wenn Sie diesen Ordner löschen, werden alle darin enthaltenen Dateien gelöscht. Nach dem Löschen des Ordners lassen sich die enthaltenen Dateien auf keine Weise wiederherstellen. Einmal begonnen, kann das Löschen nicht abgebrochen werden.

Möchten Sie wirklich fortfahren?</translation>
    </message>
    <message>
        <source>Remove Folder</source>
        <translation>Ordner entfernen</translation>
    </message>
    <message>
        <source>Deleting a folder will delete all contents and can not be recovered!</source>
        <translation>Beim Löschen eines Ordners wird sein gesamter Inhalt gelöscht und kann nicht wiederhergestellt werden!</translation>
    </message>
    <message>
        <source>Are you sure you want to delete this folder?</source>
        <translation>Möchten Sie diesen Ordner wirklich löschen?</translation>
    </message>
    <message>
        <source>Deleting folder and contents</source>
        <translation>Ordner und Inhalt werden gelöscht</translation>
    </message>
</context>
<context>
    <name>DeleteItemsState</name>
    <message>
        <source>The folder is gone.</source>
        <translation>Der Ordner ist nicht mehr vorhanden.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>No file could be deleted.</source>
        <translation>Keine Datei konnte gelöscht werden.</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n files could not be deleted; the others are gone.</source>
        <translation>
            <numerusform>Nicht gelöschte Dateien: %1 von %n; die anderen sind gelöscht.</numerusform>
            <numerusform>Nicht gelöschte Dateien: %1 von %n; die anderen sind gelöscht.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DocumentInfoView</name>
    <message>
        <source>Open with Default Application</source>
        <translation>Mit Standardanwendung öffnen</translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <translation>%1 · %2</translation>
    </message>
</context>
<context>
    <name>DocumentPreviewState</name>
    <message>
        <source>No application could open this file.</source>
        <translation>Keine Anwendung konnte diese Datei öffnen.</translation>
    </message>
    <message>
        <source>Failed to decrypt item for quick look</source>
        <translation>Das Objekt konnte für die Vorschau nicht entschlüsselt werden</translation>
    </message>
</context>
<context>
    <name>DocumentPreviewer</name>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
</context>
<context>
    <name>EnterPin</name>
    <message>
        <source>Enter Pin</source>
        <translation>PIN eingeben</translation>
    </message>
    <message>
        <source>This folder&apos;s contents are protected by an unique pin you entered when creating this folder. It is not the app password.</source>
        <translation>Der Inhalt dieses Ordners ist durch eine eigene PIN geschützt, die Sie beim Erstellen des Ordners eingegeben haben. Es ist nicht das Passwort der App.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Weiter</translation>
    </message>
</context>
<context>
    <name>EntrySheet</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>FolderGrid</name>
    <message>
        <source>Folder contents</source>
        <translation>Ordnerinhalt</translation>
    </message>
</context>
<context>
    <name>FolderOperations</name>
    <message>
        <source>The folder is gone.</source>
        <translation>Der Ordner ist nicht mehr vorhanden.</translation>
    </message>
    <message>
        <source>The vault locked.</source>
        <translation>Der Tresor wurde gesperrt.</translation>
    </message>
    <message>
        <source>It is no longer there.</source>
        <translation>Es ist nicht mehr vorhanden.</translation>
    </message>
</context>
<context>
    <name>FolderTip</name>
    <message>
        <source>Close Tip</source>
        <translation>Tipp schließen</translation>
    </message>
    <message>
        <source>Actions</source>
        <translation>Aktionen</translation>
    </message>
    <message>
        <source>From this view you can create folders, take pictures privately in the app and import from your files. You can also select to delete or share items.</source>
        <translation>In dieser Ansicht können Sie Ordner erstellen, in der App privat Fotos aufnehmen und aus Ihren Dateien importieren. Sie können außerdem Objekte auswählen, um sie zu löschen oder zu teilen.</translation>
    </message>
    <message>
        <source>From this view you can delete the current folder. You can also take pictures privately in the app and import from your files. You can also select to delete or share items.</source>
        <translation>In dieser Ansicht können Sie den aktuellen Ordner löschen. Sie können außerdem in der App privat Fotos aufnehmen und aus Ihren Dateien importieren. Sie können auch Objekte auswählen, um sie zu löschen oder zu teilen.</translation>
    </message>
    <message>
        <source>Gestures</source>
        <translation>Gesten</translation>
    </message>
    <message>
        <source>Tap an item to open; double tap opened image to zoom. Double tap or swipe up on a zoomed image to return to scrolling view. Horizontal scrolling only includes photos, not folders or other file types.</source>
        <translation>Tippen Sie auf ein Objekt, um es zu öffnen; tippen Sie doppelt auf ein geöffnetes Bild, um es zu vergrößern. Tippen Sie doppelt auf ein vergrößertes Bild oder wischen Sie nach oben, um zur Bildlaufansicht zurückzukehren. Das waagerechte Blättern umfasst nur Fotos, keine Ordner oder anderen Dateitypen.</translation>
    </message>
    <message>
        <source>Empty Folder</source>
        <translation>Leerer Ordner</translation>
    </message>
    <message>
        <source>Create a folder, import files from your files, or take a picture with the embedded camera feature.</source>
        <translation>Erstellen Sie einen Ordner, importieren Sie Dateien aus Ihren Dateien oder nehmen Sie mit der eingebauten Kamerafunktion ein Foto auf.</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Images can be imported from your files; they will be copied and encrypted into the current folder.

Copied source files are not modified.</source>
        <translation>Bilder können aus Ihren Dateien importiert werden; sie werden verschlüsselt in den aktuellen Ordner kopiert.

Die kopierten Quelldateien werden nicht verändert.</translation>
    </message>
</context>
<context>
    <name>FolderToolbar</name>
    <message>
        <source>Select</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <source>Folder Menu</source>
        <translation>Ordnermenü</translation>
    </message>
    <message>
        <source>Share Selected Items</source>
        <translation>Ausgewählte Objekte teilen</translation>
    </message>
    <message>
        <source>Delete Selected Items</source>
        <translation>Ausgewählte Objekte löschen</translation>
    </message>
    <message>
        <source>Selected Items</source>
        <translation>Ausgewählte Objekte</translation>
    </message>
    <message>
        <source>Reload Folder</source>
        <translation>Ordner neu laden</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Ordner hinzufügen</translation>
    </message>
    <message>
        <source>Delete Folder</source>
        <translation>Ordner löschen</translation>
    </message>
    <message>
        <source>Modify Folder</source>
        <translation>Ordner bearbeiten</translation>
    </message>
    <message>
        <source>Import Photos</source>
        <translation>Fotos importieren</translation>
    </message>
    <message>
        <source>Import Files</source>
        <translation>Dateien importieren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>FolderView</name>
    <message>
        <source>Enter PIN</source>
        <translation>PIN eingeben</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Share Item</source>
        <translation>Objekt teilen</translation>
    </message>
    <message>
        <source>Delete Item</source>
        <translation>Objekt löschen</translation>
    </message>
    <message>
        <source>Folder Error</source>
        <translation>Ordnerfehler</translation>
    </message>
    <message>
        <source>An error occurred while adding the folder</source>
        <translation>Beim Hinzufügen des Ordners ist ein Fehler aufgetreten</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Import Stopped</source>
        <translation>Import angehalten</translation>
    </message>
    <message>
        <source>The vault locked during an import into this folder. These files were not imported:</source>
        <translation>Der Tresor wurde während eines Imports in diesen Ordner gesperrt. Diese Dateien wurden nicht importiert:</translation>
    </message>
</context>
<context>
    <name>ImportJob</name>
    <message>
        <source>Not a regular file</source>
        <translation>Keine reguläre Datei</translation>
    </message>
    <message>
        <source>The vault locked before this file was stored</source>
        <translation>Der Tresor wurde gesperrt, bevor diese Datei gespeichert war</translation>
    </message>
    <message>
        <source>Could not copy to the temporary folder</source>
        <translation>Konnte nicht in den temporären Ordner kopiert werden</translation>
    </message>
    <message>
        <source>The vault would list it under another name; rename it first</source>
        <translation>Der Tresor würde sie unter einem anderen Namen anzeigen; benennen Sie sie zuerst um</translation>
    </message>
    <message>
        <source>Could not be stored</source>
        <translation>Konnte nicht gespeichert werden</translation>
    </message>
</context>
<context>
    <name>ImportSheet</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Copy files from your device to protected encrypted storage.</source>
        <translation>Kopieren Sie Dateien von Ihrem Gerät in den geschützten, verschlüsselten Speicher.</translation>
    </message>
    <message>
        <source>Import progress</source>
        <translation>Importfortschritt</translation>
    </message>
    <message>
        <source>Files not imported</source>
        <translation>Nicht importierte Dateien</translation>
    </message>
    <message>
        <source>These files could not be imported:</source>
        <translation>Diese Dateien konnten nicht importiert werden:</translation>
    </message>
    <message>
        <source>Pictures (%1)</source>
        <translation>Bilder (%1)</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF-Dokumente (*.pdf)</translation>
    </message>
    <message>
        <source>Plain text (*.txt *.text)</source>
        <translation>Reiner Text (*.txt *.text)</translation>
    </message>
    <message>
        <source>Rich text (*.rtf)</source>
        <translation>Formatierter Text (*.rtf)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>ImportSheetState</name>
    <message>
        <source>Preparing...</source>
        <translation>Wird vorbereitet...</translation>
    </message>
    <message>
        <source>Importing...</source>
        <translation>Wird importiert...</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n files · %2 of %3</source>
        <translation>
            <numerusform>%1 von %n Datei · %2 von %3</numerusform>
            <numerusform>%1 von %n Dateien · %2 von %3</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>ItemListModel</name>
    <message>
        <source>folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>document</source>
        <translation>Dokument</translation>
    </message>
    <message>
        <source>file</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1, selected</source>
        <translation>%1, ausgewählt</translation>
    </message>
    <message>
        <source>%1, not selected</source>
        <translation>%1, nicht ausgewählt</translation>
    </message>
</context>
<context>
    <name>MainScreenState</name>
    <message>
        <source>the passcode store failed</source>
        <translation>der Speicher des Zugangscodes hat versagt</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Lumisera</source>
        <translation>Lumisera</translation>
    </message>
</context>
<context>
    <name>MediaModule</name>
    <message>
        <source>%1 was not found</source>
        <translation>%1 wurde nicht gefunden</translation>
    </message>
</context>
<context>
    <name>MediaPlugin</name>
    <message>
        <source>No camera was found.</source>
        <translation>Es wurde keine Kamera gefunden.</translation>
    </message>
</context>
<context>
    <name>ModifyFolderView</name>
    <message>
        <source>Enter Passcode</source>
        <translation>Zugangscode eingeben</translation>
    </message>
    <message>
        <source>Modifying this folder requires authentication with a passcode; this is the initial passcode you created to protect the app.</source>
        <translation>Zum Bearbeiten dieses Ordners müssen Sie sich mit dem Zugangscode anmelden; das ist der ursprüngliche Zugangscode, den Sie zum Schutz der App festgelegt haben.</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Create Pin</source>
        <translation>PIN erstellen</translation>
    </message>
    <message>
        <source>Enter a pin to further protect this folder&apos;s items.</source>
        <translation>Geben Sie eine PIN ein, um die Objekte dieses Ordners zusätzlich zu schützen.</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Erstellen</translation>
    </message>
    <message>
        <source>Modify Folder</source>
        <translation>Ordner bearbeiten</translation>
    </message>
    <message>
        <source>Details for &apos;%1&apos;</source>
        <translation>Details zu „%1“</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>This folder&apos;s contents are encrypted and protected by an unique pin.</source>
        <translation>Der Inhalt dieses Ordners ist verschlüsselt und durch eine eigene PIN geschützt.</translation>
    </message>
    <message>
        <source>This folder&apos;s contents are encrypted but have no pin set.</source>
        <translation>Der Inhalt dieses Ordners ist verschlüsselt, hat aber keine PIN.</translation>
    </message>
    <message>
        <source>Remove Pin</source>
        <translation>PIN entfernen</translation>
    </message>
    <message>
        <source>Add Pin</source>
        <translation>PIN hinzufügen</translation>
    </message>
    <message>
        <source>Folder Error</source>
        <translation>Ordnerfehler</translation>
    </message>
    <message>
        <source>An error occurred while changing the folder&apos;s PIN</source>
        <translation>Beim Ändern der PIN des Ordners ist ein Fehler aufgetreten</translation>
    </message>
</context>
<context>
    <name>NavigationStack</name>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
</context>
<context>
    <name>NewCameraView</name>
    <message>
        <source>Camera</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Take Picture</source>
        <translation>Foto aufnehmen</translation>
    </message>
    <message>
        <source>Take Picture (Space)</source>
        <translation>Foto aufnehmen (Leertaste)</translation>
    </message>
    <message>
        <source>Capture Error</source>
        <translation>Aufnahmefehler</translation>
    </message>
    <message>
        <source>Camera use not authorized; check Settings</source>
        <translation>Kameranutzung nicht erlaubt; prüfen Sie die Einstellungen</translation>
    </message>
</context>
<context>
    <name>NewFolderView</name>
    <message>
        <source>Create Folder</source>
        <translation>Ordner erstellen</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Neuer Ordner</translation>
    </message>
    <message>
        <source>Folder Name</source>
        <translation>Ordnername</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Adding an optional PIN means the folder&apos;s contents will be protected with a second level of security; if the PIN is lost, the files will not be accessible.</source>
        <translation>Mit einer optionalen PIN wird der Inhalt des Ordners durch eine zweite Sicherheitsstufe geschützt; geht die PIN verloren, sind die Dateien nicht mehr zugänglich.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Since no on-disk cache contains unencrypted files (ie no thumbnail cache), performance is best achieved by organizing smaller numbers of files in unique folders.

An optional pin will provide an additional barrier to access to access the contents of this folder.A pin should be 4 chars minimum.</source>
        <translation>Da kein Zwischenspeicher auf der Festplatte unverschlüsselte Dateien enthält (also kein Vorschaubild-Zwischenspeicher), erreichen Sie die beste Leistung, wenn Sie wenige Dateien in jeweils eigenen Ordnern ablegen.

Eine optionale PIN schafft eine zusätzliche Hürde für den Zugriff auf den Inhalt dieses Ordners. Eine PIN sollte mindestens 4 Zeichen haben.</translation>
    </message>
</context>
<context>
    <name>OKAlert</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>OKCancelAlert</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>PanZoom</name>
    <message>
        <source>Zoomed picture</source>
        <translation>Vergrößertes Bild</translation>
    </message>
</context>
<context>
    <name>PasscodeChange</name>
    <message>
        <source>The vault was locked; the passcode change goes on at the next unlock.</source>
        <translation>Der Tresor wurde gesperrt; die Änderung des Zugangscodes geht beim nächsten Entsperren weiter.</translation>
    </message>
    <message>
        <source>The passcode change was stopped; it can be resumed.</source>
        <translation>Die Änderung des Zugangscodes wurde angehalten; sie kann fortgesetzt werden.</translation>
    </message>
    <message>
        <source>The passcode change cannot be recorded: %1</source>
        <translation>Die Änderung des Zugangscodes kann nicht festgehalten werden: %1</translation>
    </message>
    <message>
        <source>The key check of %1 cannot be written.</source>
        <translation>Die Schlüsselprüfung von %1 kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Every file uses the new passcode, but it cannot be stored; resume the change to try again.</source>
        <translation>Jede Datei verwendet den neuen Zugangscode, er kann aber nicht gespeichert werden; setzen Sie die Änderung fort, um es erneut zu versuchen.</translation>
    </message>
    <message>
        <source>The passcode change record cannot be removed: %1</source>
        <translation>Das Änderungsprotokoll des Zugangscodes kann nicht entfernt werden: %1</translation>
    </message>
    <message>
        <source>The folder %1 cannot be read: %2</source>
        <translation>Der Ordner %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>There is not enough space to change the passcode: %1. Make room, then resume the change.</source>
        <translation>Für die Änderung des Zugangscodes ist nicht genug Platz: %1. Schaffen Sie Platz und setzen Sie die Änderung dann fort.</translation>
    </message>
    <message>
        <source>The new form of %1 cannot be written: %2</source>
        <translation>Die neue Fassung von %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The new form of a file cannot be put in place: %1</source>
        <translation>Die neue Fassung einer Datei kann nicht an ihren Platz gebracht werden: %1</translation>
    </message>
    <message>
        <source>The passcode change cannot be made durable: %1</source>
        <translation>Die Änderung des Zugangscodes kann nicht dauerhaft gesichert werden: %1</translation>
    </message>
</context>
<context>
    <name>PasscodeChangeCommand</name>
    <message>
        <source>%1 of %2 files, %3 of %4 MiB</source>
        <translation>%1 von %2 Dateien, %3 von %4 MiB</translation>
    </message>
    <message numerus="yes">
        <source>, about %n s left</source>
        <translation>
            <numerusform>, noch etwa %n s</numerusform>
            <numerusform>, noch etwa %n s</numerusform>
        </translation>
    </message>
    <message>
        <source>a passcode change is unfinished; finish it with lumisera-vault passcode change --resume</source>
        <translation>eine Änderung des Zugangscodes ist nicht abgeschlossen; schließen Sie sie mit lumisera-vault passcode change --resume ab</translation>
    </message>
    <message>
        <source>no passcode change is unfinished</source>
        <translation>es ist keine Änderung des Zugangscodes offen</translation>
    </message>
    <message>
        <source>no passcode is set; set one with lumisera-vault init</source>
        <translation>kein Zugangscode festgelegt; legen Sie einen mit lumisera-vault init fest</translation>
    </message>
    <message>
        <source>Current passcode: </source>
        <translation>Aktueller Zugangscode: </translation>
    </message>
    <message>
        <source>no passcode given</source>
        <translation>kein Zugangscode angegeben</translation>
    </message>
    <message>
        <source>wrong passcode</source>
        <translation>falscher Zugangscode</translation>
    </message>
    <message>
        <source>New passcode: </source>
        <translation>Neuer Zugangscode: </translation>
    </message>
    <message>
        <source>that is not the new passcode this change was started with</source>
        <translation>das ist nicht der neue Zugangscode, mit dem diese Änderung begonnen wurde</translation>
    </message>
    <message>
        <source>Repeat new passcode: </source>
        <translation>Neuen Zugangscode wiederholen: </translation>
    </message>
    <message>
        <source>no new passcode given</source>
        <translation>kein neuer Zugangscode angegeben</translation>
    </message>
    <message>
        <source>new passcode refused: </source>
        <translation>neuer Zugangscode abgelehnt: </translation>
    </message>
    <message>
        <source>the new passcode must differ from the current one in its first 16 characters</source>
        <translation>der neue Zugangscode muss sich in seinen ersten 16 Zeichen vom aktuellen unterscheiden</translation>
    </message>
    <message>
        <source>left as it was (the current passcode does not open it): %1</source>
        <translation>unverändert belassen (der aktuelle Zugangscode öffnet sie nicht): %1</translation>
    </message>
    <message>
        <source>; resume with lumisera-vault passcode change --resume</source>
        <translation>; setzen Sie die Änderung mit lumisera-vault passcode change --resume fort</translation>
    </message>
    <message>
        <source> (lumisera-vault passcode change --resume)</source>
        <translation> (lumisera-vault passcode change --resume)</translation>
    </message>
    <message>
        <source>The passcode was changed.</source>
        <translation>Der Zugangscode wurde geändert.</translation>
    </message>
</context>
<context>
    <name>PasscodeChangeJournal</name>
    <message>
        <source>The data folder %1 cannot be made.</source>
        <translation>Der Datenordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The new passcode cannot be used.</source>
        <translation>Der neue Zugangscode kann nicht verwendet werden.</translation>
    </message>
    <message>
        <source>The passcode change cannot be recorded in %1: %2</source>
        <translation>Die Änderung des Zugangscodes kann nicht in %1 festgehalten werden: %2</translation>
    </message>
    <message>
        <source>A passcode change is unfinished; finish it first.</source>
        <translation>Eine Änderung des Zugangscodes ist nicht abgeschlossen; schließen Sie sie zuerst ab.</translation>
    </message>
    <message>
        <source>No passcode change is unfinished.</source>
        <translation>Es ist keine Änderung des Zugangscodes offen.</translation>
    </message>
    <message>
        <source>The passcode change record %1 cannot be opened: %2</source>
        <translation>Das Änderungsprotokoll des Zugangscodes %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>The passcode is being changed by another program.</source>
        <translation>Der Zugangscode wird gerade von einem anderen Programm geändert.</translation>
    </message>
    <message>
        <source>The passcode change record %1 cannot be read: %2</source>
        <translation>Das Änderungsprotokoll des Zugangscodes %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The passcode change record %1 cannot be repaired: %2</source>
        <translation>Das Änderungsprotokoll des Zugangscodes %1 kann nicht repariert werden: %2</translation>
    </message>
    <message>
        <source>The passcode change record %1 is damaged.</source>
        <translation>Das Änderungsprotokoll des Zugangscodes %1 ist beschädigt.</translation>
    </message>
</context>
<context>
    <name>PasscodeGate</name>
    <message>
        <source>The passcode could not be checked: %1</source>
        <translation>Der Zugangscode konnte nicht geprüft werden: %1</translation>
    </message>
</context>
<context>
    <name>PasscodeRule</name>
    <message>
        <source>the passcode is empty</source>
        <translation>der Zugangscode ist leer</translation>
    </message>
    <message>
        <source>the two entries differ</source>
        <translation>die beiden Eingaben stimmen nicht überein</translation>
    </message>
    <message>
        <source>the passcode has fewer than %1 characters</source>
        <translation>der Zugangscode hat weniger als %1 Zeichen</translation>
    </message>
    <message>
        <source>the passcode needs at least one letter and one number</source>
        <translation>der Zugangscode braucht mindestens einen Buchstaben und eine Ziffer</translation>
    </message>
    <message>
        <source>the passcode may only hold ASCII characters</source>
        <translation>der Zugangscode darf nur ASCII-Zeichen enthalten</translation>
    </message>
</context>
<context>
    <name>PdfDocumentView</name>
    <message>
        <source>PDF document</source>
        <translation>PDF-Dokument</translation>
    </message>
</context>
<context>
    <name>PhotoPager</name>
    <message>
        <source>Gallery</source>
        <translation>Galerie</translation>
    </message>
    <message>
        <source>Left and Right for the other pictures, Return to zoom</source>
        <translation>Links und Rechts für die anderen Bilder, Eingabetaste zum Vergrößern</translation>
    </message>
</context>
<context>
    <name>PinEntry</name>
    <message>
        <source>The folder&apos;s PIN cannot be read</source>
        <translation>Die PIN des Ordners kann nicht gelesen werden</translation>
    </message>
</context>
<context>
    <name>PreparingFileProgress</name>
    <message>
        <source>Preparing item...</source>
        <translation>Objekt wird vorbereitet...</translation>
    </message>
</context>
<context>
    <name>PreviewBar</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Teilen</translation>
    </message>
</context>
<context>
    <name>PrivacyCover</name>
    <message>
        <source>Content hidden while the screen is shared</source>
        <translation>Inhalt ausgeblendet, während der Bildschirm geteilt wird</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The camera could not be opened.</source>
        <translation>Die Kamera konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The camera did not start.</source>
        <translation>Die Kamera ist nicht gestartet.</translation>
    </message>
</context>
<context>
    <name>QtMediaPlayerView</name>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>This file cannot be played.</source>
        <translation>Diese Datei kann nicht wiedergegeben werden.</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Wiedergabe</translation>
    </message>
</context>
<context>
    <name>QtPdfDocumentView</name>
    <message>
        <source>The document is protected by a password.</source>
        <translation>Das Dokument ist durch ein Passwort geschützt.</translation>
    </message>
    <message>
        <source>The document is protected in a way that is not supported.</source>
        <translation>Das Dokument ist auf eine Weise geschützt, die nicht unterstützt wird.</translation>
    </message>
    <message>
        <source>The file is not a PDF document.</source>
        <translation>Die Datei ist kein PDF-Dokument.</translation>
    </message>
    <message>
        <source>The document could not be opened.</source>
        <translation>Das Dokument konnte nicht geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>QuoteArea</name>
    <message>
        <source>Hold to continue</source>
        <translation>Zum Fortfahren gedrückt halten</translation>
    </message>
    <message>
        <source>Next quote</source>
        <translation>Nächstes Zitat</translation>
    </message>
    <message>
        <source>Tap for another quote</source>
        <translation>Tippen für ein anderes Zitat</translation>
    </message>
    <message>
        <source>Press for the next quote, hold to continue</source>
        <translation>Drücken für das nächste Zitat, gedrückt halten zum Fortfahren</translation>
    </message>
</context>
<context>
    <name>QuoteCommand</name>
    <message>
        <source>--service needs an address</source>
        <translation>--service braucht eine Adresse</translation>
    </message>
    <message>
        <source>--service needs an http or https address, not &quot;%1&quot;</source>
        <translation>--service braucht eine http- oder https-Adresse, nicht &quot;%1&quot;</translation>
    </message>
    <message>
        <source>unknown argument &quot;%1&quot;</source>
        <translation>unbekanntes Argument &quot;%1&quot;</translation>
    </message>
    <message>
        <source>choose one of --today, --next and --cached</source>
        <translation>wählen Sie eine der Optionen --today, --next und --cached</translation>
    </message>
    <message>
        <source>print the daily quote and its author</source>
        <translation>das Tageszitat und seinen Autor ausgeben</translation>
    </message>
    <message>
        <source>%1; see lumisera-vault quote --help</source>
        <translation>%1; siehe lumisera-vault quote --help</translation>
    </message>
    <message>
        <source>Usage: lumisera-vault quote [--today | --next | --cached] [--service URL]

Prints the quote on the first line and its author on the second. When the quote
service cannot be reached, prints the quote cached from the last update.

Options:
  --today        the quote of the day, fetched at most once per calendar day (default)
  --next         the next quote of the stored batch, fetching a new batch when it is used up
  --cached       the cached quote, without any network access
  --service URL  the quote service&apos;s base address (default %1)
  -h, --help     show this help
</source>
        <translation>Aufruf: lumisera-vault quote [--today | --next | --cached] [--service URL]

Gibt das Zitat in der ersten Zeile und seinen Autor in der zweiten aus. Ist der
Zitatdienst nicht erreichbar, wird das bei der letzten Aktualisierung gespeicherte
Zitat ausgegeben.

Optionen:
  --today        das Zitat des Tages, höchstens einmal pro Kalendertag abgerufen (Standard)
  --next         das nächste Zitat des gespeicherten Stapels; ist er aufgebraucht, wird
                 ein neuer abgerufen
  --cached       das gespeicherte Zitat, ohne jeden Netzwerkzugriff
  --service URL  die Basisadresse des Zitatdienstes (Standard: %1)
  -h, --help     diese Hilfe anzeigen
</translation>
    </message>
</context>
<context>
    <name>ScrollingPhotoView</name>
    <message>
        <source>Gallery</source>
        <translation>Galerie</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Teilen</translation>
    </message>
    <message>
        <source>Pan and zoom, double tap to reset</source>
        <translation>Verschieben und zoomen, doppelt tippen zum Zurücksetzen</translation>
    </message>
    <message>
        <source>Double tap to zoom</source>
        <translation>Doppelt tippen zum Vergrößern</translation>
    </message>
</context>
<context>
    <name>SetPasscodeView</name>
    <message>
        <source>Set passcode</source>
        <translation>Zugangscode festlegen</translation>
    </message>
    <message>
        <source>Passcode</source>
        <translation>Zugangscode</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Sicherheit</translation>
    </message>
    <message>
        <source>A passcode is required to protect items stored within the app&apos;s protected folders. This passcode will be used to encrypt all files stored within the app. If the passcode is lost, the files will be unrecoverable.

Passcode should be 8 characters or more, with a mix of numbers and characters.</source>
        <translation>Ein Zugangscode ist erforderlich, um die Objekte in den geschützten Ordnern der App zu schützen. Mit diesem Zugangscode werden alle in der App gespeicherten Dateien verschlüsselt. Geht der Zugangscode verloren, lassen sich die Dateien nicht wiederherstellen.

Der Zugangscode sollte mindestens 8 Zeichen lang sein und Ziffern und Buchstaben mischen.</translation>
    </message>
    <message>
        <source>Keychain Error</source>
        <translation>Schlüsselbundfehler</translation>
    </message>
    <message>
        <source>Unable to save passcode to keychain</source>
        <translation>Der Zugangscode konnte nicht im Schlüsselbund gespeichert werden</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Authentication</source>
        <translation>Authentifizierung</translation>
    </message>
    <message>
        <source>Disable Biometrics</source>
        <translation>Biometrie deaktivieren</translation>
    </message>
    <message>
        <source>Disable the use of biometrics for passcode; this will force manual entry in the passcode field for app unlock. This means the fingerprint reader will not be used.

This setting does not impact per-folder pin entry which is always manual.</source>
        <translation>Deaktiviert die Biometrie für den Zugangscode; zum Entsperren der App muss der Zugangscode dann von Hand eingegeben werden. Der Fingerabdrucksensor wird also nicht verwendet.

Diese Einstellung betrifft nicht die PIN-Eingabe einzelner Ordner, die immer von Hand erfolgt.</translation>
    </message>
    <message>
        <source>Content Security</source>
        <translation>Inhaltsschutz</translation>
    </message>
    <message>
        <source>Protect Screen Contents</source>
        <translation>Bildschirminhalt schützen</translation>
    </message>
    <message>
        <source>When active, this will obscure content when device mirroring is detected or if a screen recording is in process. Linux does not tell applications when the screen is being recorded or shared, so Lumisera cannot detect it; the vault locks whenever you switch away, unless &quot;Stay Unlocked in Other Windows&quot; is on.

Always be aware of your surroundings when viewing sensitive files.</source>
        <translation>Wenn aktiv, werden Inhalte verdeckt, sobald eine Bildschirmspiegelung erkannt wird oder eine Bildschirmaufnahme läuft. Linux teilt Anwendungen nicht mit, wann der Bildschirm aufgenommen oder geteilt wird, daher kann Lumisera dies nicht erkennen; der Tresor wird gesperrt, sobald Sie zu einem anderen Fenster wechseln, es sei denn, „In anderen Fenstern entsperrt bleiben“ ist eingeschaltet.

Achten Sie beim Ansehen vertraulicher Dateien stets auf Ihre Umgebung.</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Darstellung</translation>
    </message>
    <message>
        <source>Display Inspiration</source>
        <translation>Inspiration anzeigen</translation>
    </message>
    <message>
        <source>Daily inspiration quote displayed on main screen.</source>
        <translation>Tägliches Inspirationszitat auf dem Hauptbildschirm.</translation>
    </message>
    <message>
        <source>Hide Unlock Button</source>
        <translation>Entsperrtaste ausblenden</translation>
    </message>
    <message>
        <source>Activating this toggle will remove the &apos;Tap to Unlock&apos; button from the main screen. You can then only unlock the app by long-pressing on the daily quote.</source>
        <translation>Wenn Sie diesen Schalter aktivieren, verschwindet die Schaltfläche „Zum Entsperren tippen“ vom Hauptbildschirm. Sie können die App dann nur noch entsperren, indem Sie lange auf das Tageszitat drücken.</translation>
    </message>
    <message>
        <source>Visual customization changes take effect when Settings view is dismissed.</source>
        <translation>Änderungen am Erscheinungsbild werden wirksam, wenn die Einstellungen geschlossen werden.</translation>
    </message>
    <message>
        <source>Behavior</source>
        <translation>Verhalten</translation>
    </message>
    <message>
        <source>Fast Unlock</source>
        <translation>Schnell entsperren</translation>
    </message>
    <message>
        <source>Activating this toggle will, on first unlock, automatically push to the Storage view; removing the need to &apos;Tap to Open&apos; on first unlock.</source>
        <translation>Wenn Sie diesen Schalter aktivieren, öffnet sich beim ersten Entsperren automatisch die Speicheransicht; „Zum Öffnen tippen“ ist beim ersten Entsperren dann nicht mehr nötig.</translation>
    </message>
    <message>
        <source>Stay Unlocked in Other Windows</source>
        <translation>In anderen Fenstern entsperrt bleiben</translation>
    </message>
    <message>
        <source>When on, switching to another window does not lock the vault; minimising or hiding Lumisera, locking the session and sleep still do. Turn it on to drag files in from a file manager.</source>
        <translation>Wenn eingeschaltet, sperrt der Wechsel zu einem anderen Fenster den Tresor nicht; Minimieren oder Ausblenden von Lumisera, das Sperren der Sitzung und der Ruhezustand sperren ihn weiterhin. Schalten Sie es ein, um Dateien aus einer Dateiverwaltung hineinzuziehen.</translation>
    </message>
    <message>
        <source>Color scheme</source>
        <translation>Farbschema</translation>
    </message>
    <message>
        <source>Lock When Idle</source>
        <translation>Bei Inaktivität sperren</translation>
    </message>
    <message>
        <source>Locks the vault after this long without keyboard or mouse input to the desktop, even while Lumisera is the active window.</source>
        <translation>Sperrt den Tresor nach so langer Zeit ohne Tastatur- oder Mauseingabe am Desktop, auch wenn Lumisera das aktive Fenster ist.</translation>
    </message>
    <message>
        <source>Vault</source>
        <translation>Tresor</translation>
    </message>
    <message>
        <source>Check Vault</source>
        <translation>Tresor prüfen</translation>
    </message>
    <message>
        <source>Looks at every stored file of both trees and reports files that do not decrypt, PIN entries that cannot be read, leftovers, links, sync-conflict copies and a tree written with another passcode, changing nothing. Only each file&apos;s last bytes are read: damage inside a file goes unseen. Needs the vault unlocked.</source>
        <translation>Sieht sich jede gespeicherte Datei beider Bäume an und meldet Dateien, die sich nicht entschlüsseln lassen, unlesbare PIN-Einträge, Überreste, Verknüpfungen, Konfliktkopien der Synchronisation und einen mit einem anderen Zugangscode geschriebenen Baum, ohne etwas zu ändern. Von jeder Datei werden nur die letzten Bytes gelesen: Schäden im Inneren einer Datei bleiben unbemerkt. Der Tresor muss entsperrt sein.</translation>
    </message>
    <message>
        <source>Change Passcode</source>
        <translation>Zugangscode ändern</translation>
    </message>
</context>
<context>
    <name>SettingsState</name>
    <message>
        <source>Never</source>
        <translation>Nie</translation>
    </message>
    <message>
        <source>1 minute</source>
        <translation>1 Minute</translation>
    </message>
    <message>
        <source>%1 minutes</source>
        <translation>%1 Minuten</translation>
    </message>
    <message>
        <source>Not available on this desktop</source>
        <translation>Auf diesem Desktop nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>ShareActivity</name>
    <message>
        <source>%1 could not be started; it comes with the xdg-utils package.</source>
        <translation>%1 konnte nicht gestartet werden; es gehört zum Paket xdg-utils.</translation>
    </message>
    <message>
        <source>No application opened %1.</source>
        <translation>Keine Anwendung hat %1 geöffnet.</translation>
    </message>
    <message numerus="yes">
        <source>%n items</source>
        <translation>
            <numerusform>%n Objekt</numerusform>
            <numerusform>%n Objekte</numerusform>
        </translation>
    </message>
    <message>
        <source>Saved %1 in %2.</source>
        <translation>%1 wurde in %2 gespeichert.</translation>
    </message>
    <message>
        <source>Attached %1 to a new e-mail.</source>
        <translation>%1 wurde an eine neue E-Mail angehängt.</translation>
    </message>
    <message>
        <source>Opened %1.</source>
        <translation>%1 wurde geöffnet.</translation>
    </message>
</context>
<context>
    <name>ShareDialog</name>
    <message>
        <source>Share Items</source>
        <translation>Objekte teilen</translation>
    </message>
    <message>
        <source>Enter Passcode</source>
        <translation>Zugangscode eingeben</translation>
    </message>
    <message>
        <source>Sharing items requires authentication with a passcode; this is the initial passcode you created to protect the app.

Shared items must be decrypted first before they can be shared; those temporary files are deleted after sharing.</source>
        <translation>Zum Teilen von Objekten müssen Sie sich mit dem Zugangscode anmelden; das ist der ursprüngliche Zugangscode, den Sie zum Schutz der App festgelegt haben.

Geteilte Objekte müssen zuerst entschlüsselt werden; diese temporären Dateien werden nach dem Teilen gelöscht.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Teilen</translation>
    </message>
    <message>
        <source>Copies given to another application stay in Lumisera&apos;s private temporary folder until Lumisera quits, so that the application can still read them.</source>
        <translation>Kopien, die an eine andere Anwendung übergeben wurden, bleiben im privaten temporären Ordner von Lumisera, bis Lumisera beendet wird, damit die Anwendung sie weiterhin lesen kann.</translation>
    </message>
</context>
<context>
    <name>ShareTargets</name>
    <message>
        <source>Save to Folder…</source>
        <translation>In Ordner speichern…</translation>
    </message>
    <message>
        <source>Decrypted copies in a folder you choose</source>
        <translation>Entschlüsselte Kopien in einem Ordner Ihrer Wahl</translation>
    </message>
    <message>
        <source>Send by E-mail</source>
        <translation>Per E-Mail senden</translation>
    </message>
    <message>
        <source>A new message in your e-mail program, the items attached</source>
        <translation>Eine neue Nachricht in Ihrem E-Mail-Programm, mit den Objekten als Anhang</translation>
    </message>
    <message>
        <source>Open with Default Application</source>
        <translation>Mit Standardanwendung öffnen</translation>
    </message>
    <message>
        <source>Each item in the application your desktop opens it with</source>
        <translation>Jedes Objekt in der Anwendung, mit der Ihre Arbeitsumgebung es öffnet</translation>
    </message>
    <message>
        <source>Save to Folder</source>
        <translation>In Ordner speichern</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Share Items</source>
        <translation>Objekte teilen</translation>
    </message>
</context>
<context>
    <name>StorageLocationSelectionView</name>
    <message>
        <source>Stored on this device only.</source>
        <translation>Nur auf diesem Gerät gespeichert.</translation>
    </message>
    <message>
        <source>Files available to all devices that sync this folder</source>
        <translation>Dateien auf allen Geräten verfügbar, die diesen Ordner synchronisieren</translation>
    </message>
    <message>
        <source>Choose Synced Folder…</source>
        <translation>Synchronisierten Ordner wählen…</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>Speicher</translation>
    </message>
    <message>
        <source>Folders and Files</source>
        <translation>Ordner und Dateien</translation>
    </message>
</context>
<context>
    <name>StorageLocationState</name>
    <message>
        <source>Cloud</source>
        <translation>Cloud</translation>
    </message>
    <message>
        <source>On Device</source>
        <translation>Auf dem Gerät</translation>
    </message>
    <message>
        <source> (Disabled) </source>
        <translation> (Deaktiviert) </translation>
    </message>
    <message>
        <source>The synced folder could not be linked.</source>
        <translation>Der synchronisierte Ordner konnte nicht verknüpft werden.</translation>
    </message>
</context>
<context>
    <name>StorageTip</name>
    <message>
        <source>Folders and Files</source>
        <translation>Ordner und Dateien</translation>
    </message>
    <message>
        <source>Folders created on-device have contents that will only be available on this device and will be included in device backups.

Folders created in the cloud tree are available on every device whose sync client keeps this folder in sync, using the same passcode. </source>
        <translation>Der Inhalt von Ordnern, die auf dem Gerät erstellt werden, ist nur auf diesem Gerät verfügbar und wird in Gerätesicherungen aufgenommen.

Ordner, die im Cloud-Baum erstellt werden, sind auf jedem Gerät verfügbar, dessen Synchronisationsprogramm diesen Ordner abgleicht, mit demselben Zugangscode. </translation>
    </message>
</context>
<context>
    <name>StoredItemProvider</name>
    <message>
        <source>The private temporary folder could not be made.</source>
        <translation>Der private temporäre Ordner konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Sharing was stopped.</source>
        <translation>Das Teilen wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The vault is locked.</source>
        <translation>Der Tresor ist gesperrt.</translation>
    </message>
    <message>
        <source>%1 could not be read: %2</source>
        <translation>%1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>%1 could not be decrypted; the stored file may be damaged.</source>
        <translation>%1 konnte nicht entschlüsselt werden; die gespeicherte Datei ist möglicherweise beschädigt.</translation>
    </message>
    <message>
        <source>%1 could not be saved in %2: %3</source>
        <translation>%1 konnte nicht in %2 gespeichert werden: %3</translation>
    </message>
    <message>
        <source>%1 cannot be shared under this name.</source>
        <translation>%1 kann unter diesem Namen nicht geteilt werden.</translation>
    </message>
    <message>
        <source>Shared from Morvenda Lumisera</source>
        <translation>Geteilt aus Morvenda Lumisera</translation>
    </message>
</context>
<context>
    <name>TextPreview</name>
    <message>
        <source>Showing the first %1 of %2.</source>
        <translation>Die ersten %1 von %2 werden angezeigt.</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>TreeKeyCheck</name>
    <message>
        <source>This folder tree was written with another passcode</source>
        <translation>Dieser Ordnerbaum wurde mit einem anderen Zugangscode geschrieben</translation>
    </message>
    <message>
        <source>The key-check entry of this folder tree (%1) is damaged, so Lumisera cannot tell which passcode the tree was written with and writes nothing there</source>
        <translation>Der Schlüsselprüfeintrag dieses Ordnerbaums (%1) ist beschädigt, daher kann Lumisera nicht erkennen, mit welchem Zugangscode der Baum geschrieben wurde, und schreibt nichts hinein</translation>
    </message>
    <message>
        <source>The key-check entry could not be encrypted</source>
        <translation>Der Schlüsselprüfeintrag konnte nicht verschlüsselt werden</translation>
    </message>
    <message>
        <source>The key-check entry of this folder tree could not be written: %1</source>
        <translation>Der Schlüsselprüfeintrag dieses Ordnerbaums konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>The key-check entry of this folder tree (%1) is not a file; move it aside first</source>
        <translation>Der Schlüsselprüfeintrag dieses Ordnerbaums (%1) ist keine Datei; schieben Sie ihn zuerst beiseite</translation>
    </message>
    <message>
        <source>The vault locked</source>
        <translation>Der Tresor wurde gesperrt</translation>
    </message>
</context>
<context>
    <name>UserFormTextField</name>
    <message>
        <source>Passcode</source>
        <translation>Zugangscode</translation>
    </message>
    <message>
        <source>Repeat Passcode</source>
        <translation>Zugangscode wiederholen</translation>
    </message>
    <message>
        <source>Pin</source>
        <translation>PIN</translation>
    </message>
    <message>
        <source>Optional Pin</source>
        <translation>Optionale PIN</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
</context>
<context>
    <name>VaultArguments</name>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>unbekannter Befehl &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 goes before the command</source>
        <translation>%1 gehört vor den Befehl</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>%1 takes no --pin</source>
        <translation>%1 nimmt kein --pin an</translation>
    </message>
    <message>
        <source>%1 takes no -o</source>
        <translation>%1 nimmt kein -o an</translation>
    </message>
    <message>
        <source>%1 takes no --yes</source>
        <translation>%1 nimmt kein --yes an</translation>
    </message>
    <message>
        <source>rmdir deletes everything in the folder; confirm with --yes</source>
        <translation>rmdir löscht alles im Ordner; bestätigen Sie mit --yes</translation>
    </message>
    <message>
        <source>wrong arguments for %1</source>
        <translation>falsche Argumente für %1</translation>
    </message>
    <message>
        <source>ls takes --pin only with a folder</source>
        <translation>ls nimmt --pin nur zusammen mit einem Ordner an</translation>
    </message>
    <message>
        <source>check takes --cloud or --local, not both</source>
        <translation>check nimmt --cloud oder --local an, nicht beide</translation>
    </message>
    <message>
        <source>%1 takes no --resume</source>
        <translation>%1 nimmt kein --resume an</translation>
    </message>
</context>
<context>
    <name>VaultCheck</name>
    <message>
        <source>Files that do not decrypt with the passcode</source>
        <translation>Dateien, die sich mit dem Zugangscode nicht entschlüsseln lassen</translation>
    </message>
    <message>
        <source>PIN entries that cannot be read</source>
        <translation>Unlesbare PIN-Einträge</translation>
    </message>
    <message>
        <source>Names that do not decode</source>
        <translation>Namen, die sich nicht dekodieren lassen</translation>
    </message>
    <message>
        <source>Symbolic links</source>
        <translation>Symbolische Verknüpfungen</translation>
    </message>
    <message>
        <source>Special files (FIFOs, sockets, devices)</source>
        <translation>Spezialdateien (FIFOs, Sockets, Geräte)</translation>
    </message>
    <message>
        <source>Leftovers of interrupted writes</source>
        <translation>Überreste unterbrochener Schreibvorgänge</translation>
    </message>
    <message>
        <source>Sync-conflict copies</source>
        <translation>Konfliktkopien der Synchronisation</translation>
    </message>
    <message>
        <source>A CloudContainer link that leads nowhere</source>
        <translation>Eine CloudContainer-Verknüpfung, die ins Leere führt</translation>
    </message>
    <message>
        <source>Folders that cannot be read</source>
        <translation>Unlesbare Ordner</translation>
    </message>
    <message>
        <source>Trees written with another passcode</source>
        <translation>Mit einem anderen Zugangscode geschriebene Bäume</translation>
    </message>
    <message>
        <source>Damaged key-check entries</source>
        <translation>Beschädigte Schlüsselprüfeinträge</translation>
    </message>
</context>
<context>
    <name>VaultCommands</name>
    <message>
        <source>set the passcode</source>
        <translation>den Zugangscode festlegen</translation>
    </message>
    <message>
        <source>Asks for a new passcode twice (two lines with --passcode-stdin). It needs at least 8 characters,
letters and numbers, ASCII only. Refused when a passcode is already set.
</source>
        <translation>Fragt zweimal nach einem neuen Zugangscode (zwei Zeilen mit --passcode-stdin). Er braucht
mindestens 8 Zeichen, Buchstaben und Ziffern, nur ASCII. Abgelehnt, wenn bereits ein Zugangscode
festgelegt ist.
</translation>
    </message>
    <message>
        <source>list the folders, or the files of FOLDER</source>
        <translation>die Ordner auflisten, oder die Dateien von FOLDER</translation>
    </message>
    <message>
        <source>Without FOLDER: the entries of the tree&apos;s root, one per line. With FOLDER: its files&apos; names in
the order the application shows them. A folder with a PIN needs --pin. A sync client&apos;s conflict
copy shows as NAME (conflict DATE TIME).EXT, and bytes of a name that are not UTF-8 as U+FFFD.
get and rm take names as shown, and refuse one that several files show.
</source>
        <translation>Ohne FOLDER: die Einträge der Wurzel des Baums, einer pro Zeile. Mit FOLDER: die Namen seiner
Dateien in der Reihenfolge, in der die Anwendung sie zeigt. Ein Ordner mit PIN braucht --pin. Die
Konfliktkopie eines Synchronisationsprogramms erscheint als NAME (conflict DATUM ZEIT).EXT, Bytes
eines Namens, die kein UTF-8 sind, als U+FFFD. get und rm nehmen Namen so, wie sie angezeigt
werden, und lehnen einen Namen ab, unter dem mehrere Dateien erscheinen.
</translation>
    </message>
    <message>
        <source>create a folder, with a PIN when given</source>
        <translation>einen Ordner erstellen, mit PIN, falls angegeben</translation>
    </message>
    <message>
        <source>Prints the name the folder got (&quot;-&quot; becomes &quot;_&quot;). A PIN has at least 4 characters.
</source>
        <translation>Gibt den Namen aus, den der Ordner erhalten hat (&quot;-&quot; wird zu &quot;_&quot;). Eine PIN hat mindestens
4 Zeichen.
</translation>
    </message>
    <message>
        <source>delete a folder and everything in it</source>
        <translation>einen Ordner samt Inhalt löschen</translation>
    </message>
    <message>
        <source>Deletes FOLDER with all its files; --yes confirms.
</source>
        <translation>Löscht FOLDER mit allen seinen Dateien; --yes bestätigt.
</translation>
    </message>
    <message>
        <source>encrypt files into a folder</source>
        <translation>Dateien verschlüsselt in einem Ordner ablegen</translation>
    </message>
    <message>
        <source>Stores each FILE encrypted under its own name, numbered when the name is taken, and prints
each stored name on its own line. The FILEs themselves are left alone.
</source>
        <translation>Speichert jede FILE verschlüsselt unter ihrem eigenen Namen, nummeriert, wenn der Name vergeben
ist, und gibt jeden gespeicherten Namen in einer eigenen Zeile aus. Die FILEs selbst bleiben
unverändert.
</translation>
    </message>
    <message>
        <source>decrypt one file</source>
        <translation>eine Datei entschlüsseln</translation>
    </message>
    <message>
        <source>Decrypts NAME to OUT (&quot;-&quot; for standard output); by default to ./NAME. An existing file is
never overwritten.
</source>
        <translation>Entschlüsselt NAME nach OUT (&quot;-&quot; für die Standardausgabe); ohne Angabe nach ./NAME. Eine
vorhandene Datei wird nie überschrieben.
</translation>
    </message>
    <message>
        <source>delete files</source>
        <translation>Dateien löschen</translation>
    </message>
    <message>
        <source>Deletes the named files of FOLDER; nothing is deleted when one of them is missing.
</source>
        <translation>Löscht die genannten Dateien von FOLDER; fehlt eine davon, wird nichts gelöscht.
</translation>
    </message>
    <message>
        <source>set or remove a folder&apos;s PIN</source>
        <translation>die PIN eines Ordners festlegen oder entfernen</translation>
    </message>
    <message>
        <source>Needs only the passcode, as in the application. A PIN has at least 4 characters.
</source>
        <translation>Braucht nur den Zugangscode, wie in der Anwendung. Eine PIN hat mindestens 4 Zeichen.
</translation>
    </message>
    <message>
        <source>show or move where the passcode is kept</source>
        <translation>anzeigen oder ändern, wo der Zugangscode aufbewahrt wird</translation>
    </message>
    <message>
        <source>Without an argument, prints where the passcode is kept: &quot;keyring&quot; (the desktop keyring) or
&quot;file&quot; (a private file). With one, moves it there: asks for the passcode, writes it to the
new place, checks that it reads back, and only then removes it from the old one.
</source>
        <translation>Ohne Argument wird ausgegeben, wo der Zugangscode aufbewahrt wird: &quot;keyring&quot; (der Schlüsselbund
der Arbeitsumgebung) oder &quot;file&quot; (eine private Datei). Mit Argument wird er dorthin verschoben:
fragt nach dem Zugangscode, schreibt ihn an den neuen Ort, prüft, dass er sich zurücklesen
lässt, und entfernt ihn erst dann vom alten Ort.
</translation>
    </message>
    <message>
        <source>Usage: lumisera-vault [--cloud] [--passcode-stdin] </source>
        <translation>Aufruf: lumisera-vault [--cloud] [--passcode-stdin] </translation>
    </message>
    <message>
        <source>
Every command asks for the passcode (--passcode-stdin: the first line of standard input).
Exit status: 0 done, 1 failed, 2 usage error.
</source>
        <translation>
Jeder Befehl fragt nach dem Zugangscode (--passcode-stdin: die erste Zeile der Standardeingabe).
Rückgabewert: 0 erledigt, 1 fehlgeschlagen, 2 Aufruffehler.
</translation>
    </message>
    <message>
        <source>cloud tree</source>
        <translation>Cloud-Baum</translation>
    </message>
    <message>
        <source>local tree</source>
        <translation>Baum auf diesem Gerät</translation>
    </message>
    <message>
        <source>; a passcode may already be set there</source>
        <translation>; dort ist vielleicht bereits ein Zugangscode festgelegt</translation>
    </message>
    <message>
        <source>init: a passcode is already set</source>
        <translation>init: ein Zugangscode ist bereits festgelegt</translation>
    </message>
    <message>
        <source>New passcode: </source>
        <translation>Neuer Zugangscode: </translation>
    </message>
    <message>
        <source>Repeat passcode: </source>
        <translation>Zugangscode wiederholen: </translation>
    </message>
    <message>
        <source>init: no passcode given</source>
        <translation>init: kein Zugangscode angegeben</translation>
    </message>
    <message>
        <source>init: passcode refused: </source>
        <translation>init: Zugangscode abgelehnt: </translation>
    </message>
    <message>
        <source>init: unable to save the passcode to the credential store</source>
        <translation>init: der Zugangscode konnte nicht im Anmeldedatenspeicher gesichert werden</translation>
    </message>
    <message>
        <source>no passcode is set; set one with lumisera-vault init</source>
        <translation>kein Zugangscode festgelegt; legen Sie einen mit lumisera-vault init fest</translation>
    </message>
    <message>
        <source>Passcode: </source>
        <translation>Zugangscode: </translation>
    </message>
    <message>
        <source>no passcode given</source>
        <translation>kein Zugangscode angegeben</translation>
    </message>
    <message>
        <source>no passcode given (without a terminal, use --passcode-stdin)</source>
        <translation>kein Zugangscode angegeben (ohne Terminal verwenden Sie --passcode-stdin)</translation>
    </message>
    <message>
        <source>wrong passcode</source>
        <translation>falscher Zugangscode</translation>
    </message>
    <message>
        <source>the cloud container is absent (%1)</source>
        <translation>der Cloud-Container fehlt (%1)</translation>
    </message>
    <message>
        <source>cannot open the %1</source>
        <translation>der %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>no folder &quot;%1&quot; in the %2</source>
        <translation>kein Ordner &quot;%1&quot; im %2</translation>
    </message>
    <message>
        <source>cannot open folder &quot;%1&quot;</source>
        <translation>Ordner &quot;%1&quot; kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>%1 (folder &quot;%2&quot;); set a new one or remove it with lumisera-vault pin</source>
        <translation>%1 (Ordner &quot;%2&quot;); legen Sie mit lumisera-vault pin eine neue fest oder entfernen Sie sie</translation>
    </message>
    <message>
        <source>folder &quot;%1&quot; is protected by a PIN; give it with --pin</source>
        <translation>Ordner &quot;%1&quot; ist durch eine PIN geschützt; geben Sie sie mit --pin an</translation>
    </message>
    <message>
        <source>wrong PIN for folder &quot;%1&quot;</source>
        <translation>falsche PIN für Ordner &quot;%1&quot;</translation>
    </message>
    <message>
        <source>no file &quot;%1&quot; in folder &quot;%2&quot;</source>
        <translation>keine Datei &quot;%1&quot; in Ordner &quot;%2&quot;</translation>
    </message>
    <message numerus="yes">
        <source>%n files in folder &quot;%1&quot; show as &quot;%2&quot;; none was chosen</source>
        <translation>
            <numerusform>%n Datei in Ordner &quot;%1&quot; erscheint als &quot;%2&quot;; keine wurde gewählt</numerusform>
            <numerusform>%n Dateien in Ordner &quot;%1&quot; erscheinen als &quot;%2&quot;; keine wurde gewählt</numerusform>
        </translation>
    </message>
    <message>
        <source>mkdir: refused folder name &quot;%1&quot;</source>
        <translation>mkdir: Ordnername &quot;%1&quot; abgelehnt</translation>
    </message>
    <message>
        <source>mkdir: a PIN needs at least %1 characters</source>
        <translation>mkdir: eine PIN braucht mindestens %1 Zeichen</translation>
    </message>
    <message>
        <source>mkdir: folder &quot;%1&quot; already exists</source>
        <translation>mkdir: Ordner &quot;%1&quot; existiert bereits</translation>
    </message>
    <message>
        <source>mkdir: could not create folder &quot;%1&quot;</source>
        <translation>mkdir: Ordner &quot;%1&quot; konnte nicht erstellt werden</translation>
    </message>
    <message>
        <source>rmdir: could not delete folder &quot;%1&quot;</source>
        <translation>rmdir: Ordner &quot;%1&quot; konnte nicht gelöscht werden</translation>
    </message>
    <message>
        <source>add: cannot read &quot;%1&quot;</source>
        <translation>add: &quot;%1&quot; kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>add: &quot;%1&quot; has a hidden name; rename it first</source>
        <translation>add: &quot;%1&quot; hat einen versteckten Namen; benennen Sie die Datei zuerst um</translation>
    </message>
    <message>
        <source>add: &quot;%1&quot; has the name of a folder&apos;s PIN file; rename it first</source>
        <translation>add: &quot;%1&quot; trägt den Namen der PIN-Datei eines Ordners; benennen Sie die Datei zuerst um</translation>
    </message>
    <message>
        <source>add: &quot;%1&quot; would be listed under another name (as with white space at either end); rename it first</source>
        <translation>add: &quot;%1&quot; würde unter einem anderen Namen aufgeführt (etwa bei Leerraum am Anfang oder Ende); benennen Sie die Datei zuerst um</translation>
    </message>
    <message>
        <source>add: could not store &quot;%1&quot; in folder &quot;%2&quot;</source>
        <translation>add: &quot;%1&quot; konnte nicht in Ordner &quot;%2&quot; gespeichert werden</translation>
    </message>
    <message>
        <source>get: could not decrypt &quot;%1&quot;</source>
        <translation>get: &quot;%1&quot; konnte nicht entschlüsselt werden</translation>
    </message>
    <message>
        <source>get: &quot;%1&quot; already exists</source>
        <translation>get: &quot;%1&quot; existiert bereits</translation>
    </message>
    <message>
        <source>get: cannot write in &quot;%1&quot;</source>
        <translation>get: in &quot;%1&quot; kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>get: cannot write &quot;%1&quot;</source>
        <translation>get: &quot;%1&quot; kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>rm: could not delete every file in folder &quot;%1&quot;</source>
        <translation>rm: nicht alle Dateien in Ordner &quot;%1&quot; konnten gelöscht werden</translation>
    </message>
    <message>
        <source>no passcode is set</source>
        <translation>kein Zugangscode festgelegt</translation>
    </message>
    <message>
        <source>note: </source>
        <translation>Hinweis: </translation>
    </message>
    <message>
        <source>pin: folder &quot;%1&quot; has no PIN</source>
        <translation>pin: Ordner &quot;%1&quot; hat keine PIN</translation>
    </message>
    <message>
        <source>pin: could not remove the PIN of folder &quot;%1&quot;</source>
        <translation>pin: die PIN von Ordner &quot;%1&quot; konnte nicht entfernt werden</translation>
    </message>
    <message>
        <source>pin: a PIN needs at least %1 characters</source>
        <translation>pin: eine PIN braucht mindestens %1 Zeichen</translation>
    </message>
    <message>
        <source>pin: could not set the PIN of folder &quot;%1&quot;</source>
        <translation>pin: die PIN von Ordner &quot;%1&quot; konnte nicht festgelegt werden</translation>
    </message>
    <message>
        <source>look for damaged and foreign entries, changing nothing</source>
        <translation>nach beschädigten und fremden Einträgen suchen, ohne etwas zu ändern</translation>
    </message>
    <message>
        <source>Looks at every entry of both trees (or one: --cloud, --local) and reports files that do not
decrypt with the passcode (wrong length or padding: only each file&apos;s last 32 bytes are read, so
damage inside a file goes unseen), PIN entries that cannot be read, names that are not UTF-8,
links, special files, leftovers of interrupted writes, sync-conflict copies, a CloudContainer
link that leads nowhere, folders that cannot be read, and a tree written with another passcode.
Exit status 0 when nothing is wrong, 1 with findings.
</source>
        <translation>Prüft jeden Eintrag beider Bäume (oder eines: --cloud, --local) und meldet Dateien, die sich mit
dem Zugangscode nicht entschlüsseln lassen (falsche Länge oder Auffüllung: nur die letzten 32 Bytes
jeder Datei werden gelesen, Schäden im Inneren bleiben also unbemerkt), unlesbare PIN-Einträge,
Namen, die kein UTF-8 sind, Verknüpfungen, Spezialdateien, Überreste unterbrochener Schreibvorgänge,
Konfliktkopien, eine ins Leere führende CloudContainer-Verknüpfung, unlesbare Ordner und einen mit
einem anderen Zugangscode geschriebenen Baum. Rückgabewert 0 ohne Befund, 1 mit Befunden.
</translation>
    </message>
    <message>
        <source>Files checked: %1 (%2)</source>
        <translation>Geprüfte Dateien: %1 (%2)</translation>
    </message>
    <message>
        <source>Checked: %1; files: %2 (%3)</source>
        <translation>Geprüft: %1; Dateien: %2 (%3)</translation>
    </message>
    <message>
        <source>no tree (none is set up)</source>
        <translation>kein Baum (keiner ist eingerichtet)</translation>
    </message>
    <message>
        <source>cloud</source>
        <translation>Cloud</translation>
    </message>
    <message>
        <source>local</source>
        <translation>lokal</translation>
    </message>
    <message>
        <source>Nothing is wrong.</source>
        <translation>Alles in Ordnung.</translation>
    </message>
    <message>
        <source>check: problems found: %1</source>
        <translation>check: gefundene Probleme: %1</translation>
    </message>
    <message>
        <source>change the passcode of every file in both trees</source>
        <translation>den Zugangscode jeder Datei in beiden Bäumen ändern</translation>
    </message>
    <message>
        <source>Asks for the current passcode, then the new one twice (three lines with --passcode-stdin), and
encrypts every file and PIN of both trees again with the new one. Ctrl-C stops at the next file;
an interrupted change (Ctrl-C, a crash, a full disk) is finished with --resume, which asks for
the current passcode (and the new one when the credential store no longer holds it). Until then
every other command refuses to run.
</source>
        <translation>Fragt nach dem aktuellen Zugangscode, dann zweimal nach dem neuen (drei Zeilen mit --passcode-stdin),
und verschlüsselt jede Datei und PIN beider Bäume mit dem neuen neu. Strg-C hält bei der nächsten
Datei an; eine unterbrochene Änderung (Strg-C, ein Absturz, eine volle Festplatte) wird mit --resume
abgeschlossen, das nach dem aktuellen Zugangscode fragt (und nach dem neuen, wenn der
Anmeldedatenspeicher ihn nicht mehr enthält). Bis dahin verweigert jeder andere Befehl den Dienst.
</translation>
    </message>
</context>
<context>
    <name>WarningCard</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
</context>
</TS>
