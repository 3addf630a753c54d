<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AboutBrowser</name>
    <message>
        <source>About Lumisera</source>
        <translation>À propos de Lumisera</translation>
    </message>
    <message>
        <source>&lt;p&gt;The about page is missing from this installation of Lumisera.&lt;/p&gt;</source>
        <translation>&lt;p&gt;La page « À propos » manque dans cette installation de Lumisera.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>AboutView</name>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>AddFolder</name>
    <message>
        <source>Tap to Add Folder</source>
        <translation>Touchez pour ajouter un dossier</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>Directory not accessible</source>
        <translation>Dossier inaccessible</translation>
    </message>
    <message>
        <source>Document directory not found, can&apos;t download updates.</source>
        <translation>Dossier des documents introuvable&#xa0;; impossible de télécharger les mises à jour.</translation>
    </message>
</context>
<context>
    <name>BackgroundImageMenu</name>
    <message>
        <source>Background Image</source>
        <translation>Image d’arrière-plan</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucune</translation>
    </message>
    <message>
        <source>Rotate Daily</source>
        <translation>Changer chaque jour</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Par défaut</translation>
    </message>
    <message>
        <source>Rings</source>
        <translation>Anneaux</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Miroir</translation>
    </message>
    <message>
        <source>Water&apos;s Edge</source>
        <translation>Au bord de l’eau</translation>
    </message>
    <message>
        <source>Flower</source>
        <translation>Fleur</translation>
    </message>
    <message>
        <source>Triplets</source>
        <translation>Triplés</translation>
    </message>
    <message>
        <source>In the Dark</source>
        <translation>Dans l’obscurité</translation>
    </message>
    <message>
        <source>Life in the Sand</source>
        <translation>La vie dans le sable</translation>
    </message>
</context>
<context>
    <name>ChangePasscodeState</name>
    <message>
        <source>The current passcode is not correct.</source>
        <translation>Le code d’accès actuel n’est pas correct.</translation>
    </message>
    <message>
        <source>Enter the new passcode this change was started with.</source>
        <translation>Saisissez le nouveau code d’accès avec lequel ce changement a été commencé.</translation>
    </message>
    <message>
        <source>That is not the new passcode this change was started with.</source>
        <translation>Ce n’est pas le nouveau code d’accès avec lequel ce changement a été commencé.</translation>
    </message>
    <message>
        <source>The passcode change stopped unexpectedly; it can be resumed.</source>
        <translation>Le changement de code d’accès s’est arrêté de façon inattendue&#xa0;; il peut être repris.</translation>
    </message>
    <message>
        <source>%1 of %2 files, %3 of %4 MiB</source>
        <translation>%1 sur %2 fichiers, %3 sur %4 MiB</translation>
    </message>
    <message numerus="yes">
        <source>, about %n s left</source>
        <translation>
            <numerusform>, il reste environ %n s</numerusform>
            <numerusform>, il reste environ %n s</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ChangePasscodeView</name>
    <message>
        <source>Current passcode</source>
        <translation>Code d’accès actuel</translation>
    </message>
    <message>
        <source>New passcode</source>
        <translation>Nouveau code d’accès</translation>
    </message>
    <message>
        <source>Repeat new passcode</source>
        <translation>Répéter le nouveau code d’accès</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Reprendre</translation>
    </message>
    <message>
        <source>Change Passcode</source>
        <translation>Changer le code d’accès</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Finish Changing the Passcode</source>
        <translation>Terminer le changement de code d’accès</translation>
    </message>
    <message>
        <source>A passcode change did not finish. The vault opens again once it has: enter the current passcode to go on where it stopped.</source>
        <translation>Un changement de code d’accès n’a pas abouti. Le coffre s’ouvrira de nouveau une fois qu’il sera terminé&#xa0;: saisissez le code d’accès actuel pour reprendre là où il s’est arrêté.</translation>
    </message>
    <message>
        <source>Every file and PIN in both folder trees is encrypted again with the new passcode. Each file keeps opening with the old or the new passcode at every moment; if the change is stopped, it goes on where it stopped.</source>
        <translation>Chaque fichier et chaque code PIN des deux arborescences de dossiers sont rechiffrés avec le nouveau code d’accès. À tout moment, chaque fichier s’ouvre avec l’ancien ou le nouveau code d’accès&#xa0;; si le changement est interrompu, il reprend là où il s’est arrêté.</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>The passcode was changed. Unlock with the new passcode.</source>
        <translation>Le code d’accès a été changé. Déverrouillez avec le nouveau code d’accès.</translation>
    </message>
    <message>
        <source>These files did not open with the old passcode and were left as they were:</source>
        <translation>Ces fichiers ne se sont pas ouverts avec l’ancien code d’accès et ont été laissés tels quels&#xa0;:</translation>
    </message>
</context>
<context>
    <name>CheckVaultState</name>
    <message>
        <source>Unlock the vault to check it.</source>
        <translation>Déverrouillez le coffre pour le vérifier.</translation>
    </message>
    <message>
        <source>Stopping…</source>
        <translation>Arrêt en cours…</translation>
    </message>
    <message>
        <source>Checking… Files: %1 (%2)</source>
        <translation>Vérification… Fichiers&#xa0;: %1 (%2)</translation>
    </message>
    <message>
        <source>Stopped. Files checked: %1 (%2). What was found so far:</source>
        <translation>Interrompu. Fichiers vérifiés&#xa0;: %1 (%2). Trouvé jusqu’ici&#xa0;:</translation>
    </message>
    <message>
        <source>Nothing is wrong. Files checked: %1 (%2).</source>
        <translation>Aucun problème. Fichiers vérifiés&#xa0;: %1 (%2).</translation>
    </message>
    <message>
        <source>Problems found: %1. Files checked: %2 (%3).</source>
        <translation>Problèmes trouvés&#xa0;: %1. Fichiers vérifiés&#xa0;: %2 (%3).</translation>
    </message>
    <message>
        <source>Cloud</source>
        <translation>Cloud</translation>
    </message>
    <message>
        <source>Local</source>
        <translation>Local</translation>
    </message>
</context>
<context>
    <name>CheckVaultView</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Check Vault</source>
        <translation>Vérifier le coffre</translation>
    </message>
    <message>
        <source>Looks at every stored file and reports what is wrong, changing nothing.</source>
        <translation>Examine chaque fichier enregistré et signale ce qui ne va pas, sans rien modifier.</translation>
    </message>
    <message>
        <source>Checking</source>
        <translation>Vérification</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Rapport</translation>
    </message>
</context>
<context>
    <name>CloudContainerLink</name>
    <message>
        <source>No folder was chosen.</source>
        <translation>Aucun dossier n’a été choisi.</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>Le dossier %1 n’existe pas.</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 n’est pas un dossier.</translation>
    </message>
    <message>
        <source>%1 overlaps the on-device vault (%2); choose a folder outside it.</source>
        <translation>%1 chevauche le coffre de cet appareil (%2)&#xa0;; choisissez un dossier en dehors de celui-ci.</translation>
    </message>
    <message>
        <source>A cloud folder is already set up at %1; it is left as it is.</source>
        <translation>Un dossier cloud est déjà configuré à l’emplacement %1&#xa0;; il est laissé tel quel.</translation>
    </message>
    <message>
        <source>Could not create the folder %1.</source>
        <translation>Impossible de créer le dossier %1.</translation>
    </message>
    <message>
        <source>Could not link %1 to %2: %3</source>
        <translation>Impossible de lier %1 à %2&#xa0;: %3</translation>
    </message>
</context>
<context>
    <name>ColorSchemePicker</name>
    <message>
        <source>Color scheme</source>
        <translation>Jeu de couleurs</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatique</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Clair</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Sombre</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>unknown option &quot;%1&quot;; see lumisera-vault --help</source>
        <translation>option inconnue &quot;%1&quot;&#xa0;; voir lumisera-vault --help</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;; see lumisera-vault --help</source>
        <translation>commande inconnue &quot;%1&quot;&#xa0;; voir lumisera-vault --help</translation>
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
        <translation>Utilisation&#xa0;: lumisera-vault [--cloud] [--passcode-stdin] COMMANDE [ARGUMENTS]

Le compagnon en ligne de commande du coffre de Lumisera.

Options&#xa0;:
  --cloud           utiliser le coffre du conteneur cloud
  --passcode-stdin  lire le code d’accès sur la première ligne de l’entrée standard
  -h, --help        afficher cette aide

Commandes (COMMANDE --help pour les détails)&#xa0;:
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
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Unlock with fingerprint</source>
        <translation>Déverrouiller avec l’empreinte digitale</translation>
    </message>
    <message>
        <source>Touch the fingerprint reader</source>
        <translation>Touchez le lecteur d’empreintes digitales</translation>
    </message>
    <message>
        <source>Enter manually</source>
        <translation>Saisir manuellement</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Color scheme</source>
        <translation>Jeu de couleurs</translation>
    </message>
    <message>
        <source>About Lumisera</source>
        <translation>À propos de Lumisera</translation>
    </message>
    <message>
        <source>Support Lumisera</source>
        <translation>Soutenir Lumisera</translation>
    </message>
    <message>
        <source>The passcode could not be checked: %1. Press Return to try again.</source>
        <translation>Le code d’accès n’a pas pu être vérifié&#xa0;: %1. Appuyez sur Entrée pour réessayer.</translation>
    </message>
    <message>
        <source>Waiting for the desktop keyring…</source>
        <translation>En attente du trousseau de clés du bureau…</translation>
    </message>
    <message>
        <source>Tap to Set Passcode</source>
        <translation>Touchez pour définir le code d’accès</translation>
    </message>
    <message>
        <source>Tap to Unlock</source>
        <translation>Touchez pour déverrouiller</translation>
    </message>
    <message>
        <source>Tap to Open</source>
        <translation>Touchez pour ouvrir</translation>
    </message>
    <message>
        <source>The passcode cannot be read: %1. Tap to try again.</source>
        <translation>Le code d’accès ne peut pas être lu&#xa0;: %1. Touchez pour réessayer.</translation>
    </message>
</context>
<context>
    <name>DailyMessage</name>
    <message>
        <source>Live for today, tomorrow is not a given.</source>
        <translation>Vis pour aujourd’hui, demain n’est pas acquis.</translation>
    </message>
    <message>
        <source>Unknown Author</source>
        <translation>Auteur inconnu</translation>
    </message>
</context>
<context>
    <name>DecryptedData</name>
    <message>
        <source>The file could not be opened: %1</source>
        <translation>Le fichier n’a pas pu être ouvert&#xa0;: %1</translation>
    </message>
    <message>
        <source>The file is too large to show.</source>
        <translation>Le fichier est trop volumineux pour être affiché.</translation>
    </message>
    <message>
        <source>The file could not be read: %1</source>
        <translation>Le fichier n’a pas pu être lu&#xa0;: %1</translation>
    </message>
    <message>
        <source>The vault is locked.</source>
        <translation>Le coffre est verrouillé.</translation>
    </message>
    <message>
        <source>The file could not be decrypted.</source>
        <translation>Le fichier n’a pas pu être déchiffré.</translation>
    </message>
</context>
<context>
    <name>DeleteFileView</name>
    <message>
        <source>Deleting files cannot be undone; there is no way to recover files once deleted.

Are you sure you want to continue?</source>
        <translation>La suppression de fichiers est irréversible&#xa0;; il n’existe aucun moyen de récupérer des fichiers supprimés.

Voulez-vous vraiment continuer&#xa0;?</translation>
    </message>
    <message>
        <source>Delete Items</source>
        <translation>Supprimer les éléments</translation>
    </message>
    <message>
        <source>Deleting files can not be undone!</source>
        <translation>La suppression de fichiers est irréversible&#xa0;!</translation>
    </message>
    <message>
        <source>Deleting.. </source>
        <translation>Suppression.. </translation>
    </message>
</context>
<context>
    <name>DeleteFolderView</name>
    <message>
        <source>Deleting this folder will delete all contained files. There is no way to recover the contained files once this folder is deleted. There is no way to cancel the deletion once begun.

Are you sure you want to continue?</source>
        <translation>Supprimer ce dossier supprimera tous les fichiers qu’il contient. Il n’existe aucun moyen de récupérer ces fichiers une fois le dossier supprimé. Une fois commencée, la suppression ne peut pas être annulée.

Voulez-vous vraiment continuer&#xa0;?</translation>
    </message>
    <message>
        <source>Remove Folder</source>
        <translation>Supprimer le dossier</translation>
    </message>
    <message>
        <source>Deleting a folder will delete all contents and can not be recovered!</source>
        <translation>Supprimer un dossier supprime tout son contenu, sans possibilité de le récupérer&#xa0;!</translation>
    </message>
    <message>
        <source>Are you sure you want to delete this folder?</source>
        <translation>Voulez-vous vraiment supprimer ce dossier&#xa0;?</translation>
    </message>
    <message>
        <source>Deleting folder and contents</source>
        <translation>Suppression du dossier et de son contenu</translation>
    </message>
</context>
<context>
    <name>DeleteItemsState</name>
    <message>
        <source>The folder is gone.</source>
        <translation>Le dossier n’existe plus.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message>
        <source>No file could be deleted.</source>
        <translation>Aucun fichier n’a pu être supprimé.</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n files could not be deleted; the others are gone.</source>
        <translation>
            <numerusform>Fichiers non supprimés&#xa0;: %1 sur %n&#xa0;; les autres sont supprimés.</numerusform>
            <numerusform>Fichiers non supprimés&#xa0;: %1 sur %n&#xa0;; les autres sont supprimés.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DocumentInfoView</name>
    <message>
        <source>Open with Default Application</source>
        <translation>Ouvrir avec l’application par défaut</translation>
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
        <translation>Aucune application n’a pu ouvrir ce fichier.</translation>
    </message>
    <message>
        <source>Failed to decrypt item for quick look</source>
        <translation>Impossible de déchiffrer l’élément pour l’aperçu</translation>
    </message>
</context>
<context>
    <name>DocumentPreviewer</name>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
</context>
<context>
    <name>EnterPin</name>
    <message>
        <source>Enter Pin</source>
        <translation>Saisir le code PIN</translation>
    </message>
    <message>
        <source>This folder&apos;s contents are protected by an unique pin you entered when creating this folder. It is not the app password.</source>
        <translation>Le contenu de ce dossier est protégé par un code PIN unique que vous avez saisi lors de sa création. Ce n’est pas le mot de passe de l’application.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continuer</translation>
    </message>
</context>
<context>
    <name>EntrySheet</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>FolderGrid</name>
    <message>
        <source>Folder contents</source>
        <translation>Contenu du dossier</translation>
    </message>
</context>
<context>
    <name>FolderOperations</name>
    <message>
        <source>The folder is gone.</source>
        <translation>Le dossier n’existe plus.</translation>
    </message>
    <message>
        <source>The vault locked.</source>
        <translation>Le coffre s’est verrouillé.</translation>
    </message>
    <message>
        <source>It is no longer there.</source>
        <translation>Il n’existe plus.</translation>
    </message>
</context>
<context>
    <name>FolderTip</name>
    <message>
        <source>Close Tip</source>
        <translation>Fermer l’astuce</translation>
    </message>
    <message>
        <source>Actions</source>
        <translation>Actions</translation>
    </message>
    <message>
        <source>From this view you can create folders, take pictures privately in the app and import from your files. You can also select to delete or share items.</source>
        <translation>Depuis cette vue, vous pouvez créer des dossiers, prendre des photos en privé dans l’application et importer depuis vos fichiers. Vous pouvez aussi sélectionner des éléments pour les supprimer ou les partager.</translation>
    </message>
    <message>
        <source>From this view you can delete the current folder. You can also take pictures privately in the app and import from your files. You can also select to delete or share items.</source>
        <translation>Depuis cette vue, vous pouvez supprimer le dossier actuel. Vous pouvez aussi prendre des photos en privé dans l’application et importer depuis vos fichiers. Vous pouvez également sélectionner des éléments pour les supprimer ou les partager.</translation>
    </message>
    <message>
        <source>Gestures</source>
        <translation>Gestes</translation>
    </message>
    <message>
        <source>Tap an item to open; double tap opened image to zoom. Double tap or swipe up on a zoomed image to return to scrolling view. Horizontal scrolling only includes photos, not folders or other file types.</source>
        <translation>Touchez un élément pour l’ouvrir&#xa0;; touchez deux fois une image ouverte pour l’agrandir. Touchez deux fois une image agrandie ou balayez vers le haut pour revenir au défilement. Le défilement horizontal ne comprend que les photos, pas les dossiers ni les autres types de fichiers.</translation>
    </message>
    <message>
        <source>Empty Folder</source>
        <translation>Dossier vide</translation>
    </message>
    <message>
        <source>Create a folder, import files from your files, or take a picture with the embedded camera feature.</source>
        <translation>Créez un dossier, importez des fichiers depuis vos fichiers ou prenez une photo avec l’appareil photo intégré.</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importer</translation>
    </message>
    <message>
        <source>Images can be imported from your files; they will be copied and encrypted into the current folder.

Copied source files are not modified.</source>
        <translation>Les images peuvent être importées depuis vos fichiers&#xa0;; elles sont copiées et chiffrées dans le dossier actuel.

Les fichiers source copiés ne sont pas modifiés.</translation>
    </message>
</context>
<context>
    <name>FolderToolbar</name>
    <message>
        <source>Select</source>
        <translation>Sélectionner</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Appareil photo</translation>
    </message>
    <message>
        <source>Folder Menu</source>
        <translation>Menu du dossier</translation>
    </message>
    <message>
        <source>Share Selected Items</source>
        <translation>Partager les éléments sélectionnés</translation>
    </message>
    <message>
        <source>Delete Selected Items</source>
        <translation>Supprimer les éléments sélectionnés</translation>
    </message>
    <message>
        <source>Selected Items</source>
        <translation>Éléments sélectionnés</translation>
    </message>
    <message>
        <source>Reload Folder</source>
        <translation>Recharger le dossier</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Ajouter un dossier</translation>
    </message>
    <message>
        <source>Delete Folder</source>
        <translation>Supprimer le dossier</translation>
    </message>
    <message>
        <source>Modify Folder</source>
        <translation>Modifier le dossier</translation>
    </message>
    <message>
        <source>Import Photos</source>
        <translation>Importer des photos</translation>
    </message>
    <message>
        <source>Import Files</source>
        <translation>Importer des fichiers</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>FolderView</name>
    <message>
        <source>Enter PIN</source>
        <translation>Saisir le code PIN</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Share Item</source>
        <translation>Partager l’élément</translation>
    </message>
    <message>
        <source>Delete Item</source>
        <translation>Supprimer l’élément</translation>
    </message>
    <message>
        <source>Folder Error</source>
        <translation>Erreur de dossier</translation>
    </message>
    <message>
        <source>An error occurred while adding the folder</source>
        <translation>Une erreur s’est produite lors de l’ajout du dossier</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Import Stopped</source>
        <translation>Importation interrompue</translation>
    </message>
    <message>
        <source>The vault locked during an import into this folder. These files were not imported:</source>
        <translation>Le coffre s’est verrouillé pendant une importation dans ce dossier. Ces fichiers n’ont pas été importés&#xa0;:</translation>
    </message>
</context>
<context>
    <name>ImportJob</name>
    <message>
        <source>Not a regular file</source>
        <translation>Pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>The vault locked before this file was stored</source>
        <translation>Le coffre s’est verrouillé avant l’enregistrement de ce fichier</translation>
    </message>
    <message>
        <source>Could not copy to the temporary folder</source>
        <translation>Impossible de copier dans le dossier temporaire</translation>
    </message>
    <message>
        <source>The vault would list it under another name; rename it first</source>
        <translation>Le coffre l’afficherait sous un autre nom&#xa0;; renommez-le d’abord</translation>
    </message>
    <message>
        <source>Could not be stored</source>
        <translation>Impossible de l’enregistrer</translation>
    </message>
</context>
<context>
    <name>ImportSheet</name>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importer</translation>
    </message>
    <message>
        <source>Copy files from your device to protected encrypted storage.</source>
        <translation>Copiez des fichiers de votre appareil vers le stockage chiffré et protégé.</translation>
    </message>
    <message>
        <source>Import progress</source>
        <translation>Progression de l’importation</translation>
    </message>
    <message>
        <source>Files not imported</source>
        <translation>Fichiers non importés</translation>
    </message>
    <message>
        <source>These files could not be imported:</source>
        <translation>Ces fichiers n’ont pas pu être importés&#xa0;:</translation>
    </message>
    <message>
        <source>Pictures (%1)</source>
        <translation>Images (%1)</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>Documents PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Plain text (*.txt *.text)</source>
        <translation>Texte brut (*.txt *.text)</translation>
    </message>
    <message>
        <source>Rich text (*.rtf)</source>
        <translation>Texte enrichi (*.rtf)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
</context>
<context>
    <name>ImportSheetState</name>
    <message>
        <source>Preparing...</source>
        <translation>Préparation...</translation>
    </message>
    <message>
        <source>Importing...</source>
        <translation>Importation...</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n files · %2 of %3</source>
        <translation>
            <numerusform>%1 sur %n fichier · %2 sur %3</numerusform>
            <numerusform>%1 sur %n fichiers · %2 sur %3</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>ItemListModel</name>
    <message>
        <source>folder</source>
        <translation>dossier</translation>
    </message>
    <message>
        <source>picture</source>
        <translation>image</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>document</source>
        <translation>document</translation>
    </message>
    <message>
        <source>file</source>
        <translation>fichier</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1, selected</source>
        <translation>%1, sélectionné</translation>
    </message>
    <message>
        <source>%1, not selected</source>
        <translation>%1, non sélectionné</translation>
    </message>
</context>
<context>
    <name>MainScreenState</name>
    <message>
        <source>the passcode store failed</source>
        <translation>le stockage du code d’accès a échoué</translation>
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
        <translation>%1 est introuvable</translation>
    </message>
</context>
<context>
    <name>MediaPlugin</name>
    <message>
        <source>No camera was found.</source>
        <translation>Aucun appareil photo n’a été trouvé.</translation>
    </message>
</context>
<context>
    <name>ModifyFolderView</name>
    <message>
        <source>Enter Passcode</source>
        <translation>Saisir le code d’accès</translation>
    </message>
    <message>
        <source>Modifying this folder requires authentication with a passcode; this is the initial passcode you created to protect the app.</source>
        <translation>La modification de ce dossier demande une authentification par code d’accès&#xa0;; il s’agit du code initial que vous avez créé pour protéger l’application.</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continuer</translation>
    </message>
    <message>
        <source>Create Pin</source>
        <translation>Créer un code PIN</translation>
    </message>
    <message>
        <source>Enter a pin to further protect this folder&apos;s items.</source>
        <translation>Saisissez un code PIN pour protéger davantage les éléments de ce dossier.</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Créer</translation>
    </message>
    <message>
        <source>Modify Folder</source>
        <translation>Modifier le dossier</translation>
    </message>
    <message>
        <source>Details for &apos;%1&apos;</source>
        <translation>Détails de « %1 »</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>This folder&apos;s contents are encrypted and protected by an unique pin.</source>
        <translation>Le contenu de ce dossier est chiffré et protégé par un code PIN unique.</translation>
    </message>
    <message>
        <source>This folder&apos;s contents are encrypted but have no pin set.</source>
        <translation>Le contenu de ce dossier est chiffré mais n’a pas de code PIN.</translation>
    </message>
    <message>
        <source>Remove Pin</source>
        <translation>Supprimer le code PIN</translation>
    </message>
    <message>
        <source>Add Pin</source>
        <translation>Ajouter un code PIN</translation>
    </message>
    <message>
        <source>Folder Error</source>
        <translation>Erreur de dossier</translation>
    </message>
    <message>
        <source>An error occurred while changing the folder&apos;s PIN</source>
        <translation>Une erreur s’est produite lors de la modification du code PIN du dossier</translation>
    </message>
</context>
<context>
    <name>NavigationStack</name>
    <message>
        <source>Back</source>
        <translation>Retour</translation>
    </message>
</context>
<context>
    <name>NewCameraView</name>
    <message>
        <source>Camera</source>
        <translation>Appareil photo</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Take Picture</source>
        <translation>Prendre une photo</translation>
    </message>
    <message>
        <source>Take Picture (Space)</source>
        <translation>Prendre une photo (Espace)</translation>
    </message>
    <message>
        <source>Capture Error</source>
        <translation>Erreur de capture</translation>
    </message>
    <message>
        <source>Camera use not authorized; check Settings</source>
        <translation>Utilisation de l’appareil photo non autorisée&#xa0;; vérifiez les paramètres</translation>
    </message>
</context>
<context>
    <name>NewFolderView</name>
    <message>
        <source>Create Folder</source>
        <translation>Créer le dossier</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Nouveau dossier</translation>
    </message>
    <message>
        <source>Folder Name</source>
        <translation>Nom du dossier</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Adding an optional PIN means the folder&apos;s contents will be protected with a second level of security; if the PIN is lost, the files will not be accessible.</source>
        <translation>Ajouter un code PIN facultatif protège le contenu du dossier par un second niveau de sécurité&#xa0;; si le code PIN est perdu, les fichiers ne seront plus accessibles.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Since no on-disk cache contains unencrypted files (ie no thumbnail cache), performance is best achieved by organizing smaller numbers of files in unique folders.

An optional pin will provide an additional barrier to access to access the contents of this folder.A pin should be 4 chars minimum.</source>
        <translation>Comme aucun cache sur le disque ne contient de fichiers non chiffrés (pas de cache de miniatures), les meilleures performances s’obtiennent en répartissant de petits nombres de fichiers dans des dossiers distincts.

Un code PIN facultatif ajoute une barrière supplémentaire à l’accès au contenu de ce dossier. Un code PIN doit comporter au moins 4 caractères.</translation>
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
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>PanZoom</name>
    <message>
        <source>Zoomed picture</source>
        <translation>Image agrandie</translation>
    </message>
</context>
<context>
    <name>PasscodeChange</name>
    <message>
        <source>The vault was locked; the passcode change goes on at the next unlock.</source>
        <translation>Le coffre a été verrouillé&#xa0;; le changement de code d’accès se poursuivra au prochain déverrouillage.</translation>
    </message>
    <message>
        <source>The passcode change was stopped; it can be resumed.</source>
        <translation>Le changement de code d’accès a été interrompu&#xa0;; il peut être repris.</translation>
    </message>
    <message>
        <source>The passcode change cannot be recorded: %1</source>
        <translation>Le changement de code d’accès ne peut pas être consigné&#xa0;: %1</translation>
    </message>
    <message>
        <source>The key check of %1 cannot be written.</source>
        <translation>Le contrôle de clé de %1 ne peut pas être écrit.</translation>
    </message>
    <message>
        <source>Every file uses the new passcode, but it cannot be stored; resume the change to try again.</source>
        <translation>Chaque fichier utilise le nouveau code d’accès, mais celui-ci ne peut pas être enregistré&#xa0;; reprenez le changement pour réessayer.</translation>
    </message>
    <message>
        <source>The passcode change record cannot be removed: %1</source>
        <translation>Le journal du changement de code d’accès ne peut pas être supprimé&#xa0;: %1</translation>
    </message>
    <message>
        <source>The folder %1 cannot be read: %2</source>
        <translation>Le dossier %1 ne peut pas être lu&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 ne peut pas être lu&#xa0;: %2</translation>
    </message>
    <message>
        <source>There is not enough space to change the passcode: %1. Make room, then resume the change.</source>
        <translation>Il n’y a pas assez d’espace pour changer le code d’accès&#xa0;: %1. Libérez de la place, puis reprenez le changement.</translation>
    </message>
    <message>
        <source>The new form of %1 cannot be written: %2</source>
        <translation>La nouvelle version de %1 ne peut pas être écrite&#xa0;: %2</translation>
    </message>
    <message>
        <source>The new form of a file cannot be put in place: %1</source>
        <translation>La nouvelle version d’un fichier ne peut pas être mise en place&#xa0;: %1</translation>
    </message>
    <message>
        <source>The passcode change cannot be made durable: %1</source>
        <translation>Le changement de code d’accès ne peut pas être rendu durable&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>PasscodeChangeCommand</name>
    <message>
        <source>%1 of %2 files, %3 of %4 MiB</source>
        <translation>%1 sur %2 fichiers, %3 sur %4 MiB</translation>
    </message>
    <message numerus="yes">
        <source>, about %n s left</source>
        <translation>
            <numerusform>, il reste environ %n s</numerusform>
            <numerusform>, il reste environ %n s</numerusform>
        </translation>
    </message>
    <message>
        <source>a passcode change is unfinished; finish it with lumisera-vault passcode change --resume</source>
        <translation>un changement de code d’accès est inachevé&#xa0;; terminez-le avec lumisera-vault passcode change --resume</translation>
    </message>
    <message>
        <source>no passcode change is unfinished</source>
        <translation>aucun changement de code d’accès n’est inachevé</translation>
    </message>
    <message>
        <source>no passcode is set; set one with lumisera-vault init</source>
        <translation>aucun code d’accès n’est défini&#xa0;; définissez-en un avec lumisera-vault init</translation>
    </message>
    <message>
        <source>Current passcode: </source>
        <translation>Code d’accès actuel&#xa0;: </translation>
    </message>
    <message>
        <source>no passcode given</source>
        <translation>aucun code d’accès donné</translation>
    </message>
    <message>
        <source>wrong passcode</source>
        <translation>code d’accès incorrect</translation>
    </message>
    <message>
        <source>New passcode: </source>
        <translation>Nouveau code d’accès&#xa0;: </translation>
    </message>
    <message>
        <source>that is not the new passcode this change was started with</source>
        <translation>ce n’est pas le nouveau code d’accès avec lequel ce changement a été commencé</translation>
    </message>
    <message>
        <source>Repeat new passcode: </source>
        <translation>Répétez le nouveau code d’accès&#xa0;: </translation>
    </message>
    <message>
        <source>no new passcode given</source>
        <translation>aucun nouveau code d’accès donné</translation>
    </message>
    <message>
        <source>new passcode refused: </source>
        <translation>nouveau code d’accès refusé&#xa0;: </translation>
    </message>
    <message>
        <source>the new passcode must differ from the current one in its first 16 characters</source>
        <translation>le nouveau code d’accès doit différer de l’actuel dans ses 16 premiers caractères</translation>
    </message>
    <message>
        <source>left as it was (the current passcode does not open it): %1</source>
        <translation>laissé tel quel (le code d’accès actuel ne l’ouvre pas)&#xa0;: %1</translation>
    </message>
    <message>
        <source>; resume with lumisera-vault passcode change --resume</source>
        <translation>&#xa0;; reprenez le changement avec lumisera-vault passcode change --resume</translation>
    </message>
    <message>
        <source> (lumisera-vault passcode change --resume)</source>
        <translation> (lumisera-vault passcode change --resume)</translation>
    </message>
    <message>
        <source>The passcode was changed.</source>
        <translation>Le code d’accès a été changé.</translation>
    </message>
</context>
<context>
    <name>PasscodeChangeJournal</name>
    <message>
        <source>The data folder %1 cannot be made.</source>
        <translation>Le dossier de données %1 ne peut pas être créé.</translation>
    </message>
    <message>
        <source>The new passcode cannot be used.</source>
        <translation>Le nouveau code d’accès ne peut pas être utilisé.</translation>
    </message>
    <message>
        <source>The passcode change cannot be recorded in %1: %2</source>
        <translation>Le changement de code d’accès ne peut pas être consigné dans %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>A passcode change is unfinished; finish it first.</source>
        <translation>Un changement de code d’accès est inachevé&#xa0;; terminez-le d’abord.</translation>
    </message>
    <message>
        <source>No passcode change is unfinished.</source>
        <translation>Aucun changement de code d’accès n’est inachevé.</translation>
    </message>
    <message>
        <source>The passcode change record %1 cannot be opened: %2</source>
        <translation>Le journal du changement de code d’accès %1 ne peut pas être ouvert&#xa0;: %2</translation>
    </message>
    <message>
        <source>The passcode is being changed by another program.</source>
        <translation>Un autre programme est en train de changer le code d’accès.</translation>
    </message>
    <message>
        <source>The passcode change record %1 cannot be read: %2</source>
        <translation>Le journal du changement de code d’accès %1 ne peut pas être lu&#xa0;: %2</translation>
    </message>
    <message>
        <source>The passcode change record %1 cannot be repaired: %2</source>
        <translation>Le journal du changement de code d’accès %1 ne peut pas être réparé&#xa0;: %2</translation>
    </message>
    <message>
        <source>The passcode change record %1 is damaged.</source>
        <translation>Le journal du changement de code d’accès %1 est endommagé.</translation>
    </message>
</context>
<context>
    <name>PasscodeGate</name>
    <message>
        <source>The passcode could not be checked: %1</source>
        <translation>Le code d’accès n’a pas pu être vérifié&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>PasscodeRule</name>
    <message>
        <source>the passcode is empty</source>
        <translation>le code d’accès est vide</translation>
    </message>
    <message>
        <source>the two entries differ</source>
        <translation>les deux saisies diffèrent</translation>
    </message>
    <message>
        <source>the passcode has fewer than %1 characters</source>
        <translation>le code d’accès compte moins de %1 caractères</translation>
    </message>
    <message>
        <source>the passcode needs at least one letter and one number</source>
        <translation>le code d’accès doit contenir au moins une lettre et un chiffre</translation>
    </message>
    <message>
        <source>the passcode may only hold ASCII characters</source>
        <translation>le code d’accès ne peut contenir que des caractères ASCII</translation>
    </message>
</context>
<context>
    <name>PdfDocumentView</name>
    <message>
        <source>PDF document</source>
        <translation>Document PDF</translation>
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
        <translation>Gauche et Droite pour les autres images, Entrée pour agrandir</translation>
    </message>
</context>
<context>
    <name>PinEntry</name>
    <message>
        <source>The folder&apos;s PIN cannot be read</source>
        <translation>Le code PIN du dossier ne peut pas être lu</translation>
    </message>
</context>
<context>
    <name>PreparingFileProgress</name>
    <message>
        <source>Preparing item...</source>
        <translation>Préparation de l’élément...</translation>
    </message>
</context>
<context>
    <name>PreviewBar</name>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Partager</translation>
    </message>
</context>
<context>
    <name>PrivacyCover</name>
    <message>
        <source>Content hidden while the screen is shared</source>
        <translation>Contenu masqué pendant le partage de l’écran</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The camera could not be opened.</source>
        <translation>L’appareil photo n’a pas pu être ouvert.</translation>
    </message>
    <message>
        <source>The camera did not start.</source>
        <translation>L’appareil photo n’a pas démarré.</translation>
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
        <translation>Ce fichier ne peut pas être lu.</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lecture</translation>
    </message>
</context>
<context>
    <name>QtPdfDocumentView</name>
    <message>
        <source>The document is protected by a password.</source>
        <translation>Le document est protégé par un mot de passe.</translation>
    </message>
    <message>
        <source>The document is protected in a way that is not supported.</source>
        <translation>Le document est protégé d’une manière qui n’est pas prise en charge.</translation>
    </message>
    <message>
        <source>The file is not a PDF document.</source>
        <translation>Le fichier n’est pas un document PDF.</translation>
    </message>
    <message>
        <source>The document could not be opened.</source>
        <translation>Le document n’a pas pu être ouvert.</translation>
    </message>
</context>
<context>
    <name>QuoteArea</name>
    <message>
        <source>Hold to continue</source>
        <translation>Maintenez pour continuer</translation>
    </message>
    <message>
        <source>Next quote</source>
        <translation>Citation suivante</translation>
    </message>
    <message>
        <source>Tap for another quote</source>
        <translation>Touchez pour une autre citation</translation>
    </message>
    <message>
        <source>Press for the next quote, hold to continue</source>
        <translation>Appuyez pour la citation suivante, maintenez pour continuer</translation>
    </message>
</context>
<context>
    <name>QuoteCommand</name>
    <message>
        <source>--service needs an address</source>
        <translation>il faut une adresse après --service</translation>
    </message>
    <message>
        <source>--service needs an http or https address, not &quot;%1&quot;</source>
        <translation>il faut une adresse http ou https après --service, et non &quot;%1&quot;</translation>
    </message>
    <message>
        <source>unknown argument &quot;%1&quot;</source>
        <translation>argument inconnu &quot;%1&quot;</translation>
    </message>
    <message>
        <source>choose one of --today, --next and --cached</source>
        <translation>choisissez une seule option parmi --today, --next et --cached</translation>
    </message>
    <message>
        <source>print the daily quote and its author</source>
        <translation>afficher la citation du jour et son auteur</translation>
    </message>
    <message>
        <source>%1; see lumisera-vault quote --help</source>
        <translation>%1&#xa0;; voir lumisera-vault quote --help</translation>
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
        <translation>Utilisation&#xa0;: lumisera-vault quote [--today | --next | --cached] [--service URL]

Affiche la citation sur la première ligne et son auteur sur la seconde. Lorsque le
service de citations est injoignable, affiche la citation mise en cache lors de la
dernière mise à jour.

Options&#xa0;:
  --today        la citation du jour, récupérée au plus une fois par jour civil (par défaut)
  --next         la citation suivante du lot enregistré, un nouveau lot étant récupéré
                 lorsqu’il est épuisé
  --cached       la citation en cache, sans aucun accès au réseau
  --service URL  l’adresse de base du service de citations (par défaut&#xa0;: %1)
  -h, --help     afficher cette aide
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
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Partager</translation>
    </message>
    <message>
        <source>Pan and zoom, double tap to reset</source>
        <translation>Déplacer et zoomer, toucher deux fois pour réinitialiser</translation>
    </message>
    <message>
        <source>Double tap to zoom</source>
        <translation>Toucher deux fois pour agrandir</translation>
    </message>
</context>
<context>
    <name>SetPasscodeView</name>
    <message>
        <source>Set passcode</source>
        <translation>Définir le code d’accès</translation>
    </message>
    <message>
        <source>Passcode</source>
        <translation>Code d’accès</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Sécurité</translation>
    </message>
    <message>
        <source>A passcode is required to protect items stored within the app&apos;s protected folders. This passcode will be used to encrypt all files stored within the app. If the passcode is lost, the files will be unrecoverable.

Passcode should be 8 characters or more, with a mix of numbers and characters.</source>
        <translation>Un code d’accès est nécessaire pour protéger les éléments enregistrés dans les dossiers protégés de l’application. Ce code sert à chiffrer tous les fichiers enregistrés dans l’application. Si le code d’accès est perdu, les fichiers seront irrécupérables.

Le code d’accès doit comporter au moins 8 caractères, mêlant chiffres et lettres.</translation>
    </message>
    <message>
        <source>Keychain Error</source>
        <translation>Erreur du trousseau</translation>
    </message>
    <message>
        <source>Unable to save passcode to keychain</source>
        <translation>Impossible d’enregistrer le code d’accès dans le trousseau</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Authentication</source>
        <translation>Authentification</translation>
    </message>
    <message>
        <source>Disable Biometrics</source>
        <translation>Désactiver la biométrie</translation>
    </message>
    <message>
        <source>Disable the use of biometrics for passcode; this will force manual entry in the passcode field for app unlock. This means the fingerprint reader will not be used.

This setting does not impact per-folder pin entry which is always manual.</source>
        <translation>Désactive la biométrie pour le code d’accès&#xa0;; le déverrouillage de l’application exige alors la saisie manuelle du code. Le lecteur d’empreintes digitales ne sera donc pas utilisé.

Ce réglage ne concerne pas la saisie du code PIN des dossiers, qui est toujours manuelle.</translation>
    </message>
    <message>
        <source>Content Security</source>
        <translation>Sécurité du contenu</translation>
    </message>
    <message>
        <source>Protect Screen Contents</source>
        <translation>Protéger le contenu de l’écran</translation>
    </message>
    <message>
        <source>When active, this will obscure content when device mirroring is detected or if a screen recording is in process. Linux does not tell applications when the screen is being recorded or shared, so Lumisera cannot detect it; the vault locks whenever you switch away, unless &quot;Stay Unlocked in Other Windows&quot; is on.

Always be aware of your surroundings when viewing sensitive files.</source>
        <translation>Lorsqu’il est actif, le contenu est masqué quand une recopie de l’écran est détectée ou qu’un enregistrement de l’écran est en cours. Linux n’indique pas aux applications quand l’écran est enregistré ou partagé, Lumisera ne peut donc pas le détecter&#xa0;; le coffre se verrouille dès que vous passez à une autre fenêtre, sauf si « Rester déverrouillé dans les autres fenêtres » est activé.

Restez toujours attentif à votre entourage lorsque vous consultez des fichiers sensibles.</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Apparence</translation>
    </message>
    <message>
        <source>Display Inspiration</source>
        <translation>Afficher l’inspiration</translation>
    </message>
    <message>
        <source>Daily inspiration quote displayed on main screen.</source>
        <translation>Citation d’inspiration du jour affichée sur l’écran principal.</translation>
    </message>
    <message>
        <source>Hide Unlock Button</source>
        <translation>Masquer le bouton de déverrouillage</translation>
    </message>
    <message>
        <source>Activating this toggle will remove the &apos;Tap to Unlock&apos; button from the main screen. You can then only unlock the app by long-pressing on the daily quote.</source>
        <translation>Activer cette option retire le bouton « Touchez pour déverrouiller » de l’écran principal. Vous ne pourrez alors déverrouiller l’application qu’en appuyant longuement sur la citation du jour.</translation>
    </message>
    <message>
        <source>Visual customization changes take effect when Settings view is dismissed.</source>
        <translation>Les changements d’apparence prennent effet à la fermeture des paramètres.</translation>
    </message>
    <message>
        <source>Behavior</source>
        <translation>Comportement</translation>
    </message>
    <message>
        <source>Fast Unlock</source>
        <translation>Déverrouillage rapide</translation>
    </message>
    <message>
        <source>Activating this toggle will, on first unlock, automatically push to the Storage view; removing the need to &apos;Tap to Open&apos; on first unlock.</source>
        <translation>Activer cette option ouvre automatiquement la vue Stockage au premier déverrouillage&#xa0;; il n’est alors plus nécessaire de « Touchez pour ouvrir » au premier déverrouillage.</translation>
    </message>
    <message>
        <source>Stay Unlocked in Other Windows</source>
        <translation>Rester déverrouillé dans les autres fenêtres</translation>
    </message>
    <message>
        <source>When on, switching to another window does not lock the vault; minimising or hiding Lumisera, locking the session and sleep still do. Turn it on to drag files in from a file manager.</source>
        <translation>Lorsqu’il est activé, passer à une autre fenêtre ne verrouille pas le coffre&#xa0;; réduire ou masquer Lumisera, verrouiller la session et la mise en veille le verrouillent toujours. Activez-le pour glisser des fichiers depuis un gestionnaire de fichiers.</translation>
    </message>
    <message>
        <source>Color scheme</source>
        <translation>Jeu de couleurs</translation>
    </message>
    <message>
        <source>Lock When Idle</source>
        <translation>Verrouiller en cas d’inactivité</translation>
    </message>
    <message>
        <source>Locks the vault after this long without keyboard or mouse input to the desktop, even while Lumisera is the active window.</source>
        <translation>Verrouille le coffre après cette durée sans saisie au clavier ni à la souris sur le bureau, même lorsque Lumisera est la fenêtre active.</translation>
    </message>
    <message>
        <source>Vault</source>
        <translation>Coffre</translation>
    </message>
    <message>
        <source>Check Vault</source>
        <translation>Vérifier le coffre</translation>
    </message>
    <message>
        <source>Looks at every stored file of both trees and reports files that do not decrypt, PIN entries that cannot be read, leftovers, links, sync-conflict copies and a tree written with another passcode, changing nothing. Only each file&apos;s last bytes are read: damage inside a file goes unseen. Needs the vault unlocked.</source>
        <translation>Examine chaque fichier enregistré des deux arborescences et signale les fichiers qui ne se déchiffrent pas, les entrées de code PIN illisibles, les restes, les liens, les copies en conflit de synchronisation et une arborescence écrite avec un autre code d’accès, sans rien modifier. Seuls les derniers octets de chaque fichier sont lus&#xa0;: un dommage à l’intérieur d’un fichier passe inaperçu. Le coffre doit être déverrouillé.</translation>
    </message>
    <message>
        <source>Change Passcode</source>
        <translation>Changer le code d’accès</translation>
    </message>
</context>
<context>
    <name>SettingsState</name>
    <message>
        <source>Never</source>
        <translation>Jamais</translation>
    </message>
    <message>
        <source>1 minute</source>
        <translation>1 minute</translation>
    </message>
    <message>
        <source>%1 minutes</source>
        <translation>%1 minutes</translation>
    </message>
    <message>
        <source>Not available on this desktop</source>
        <translation>Non disponible sur ce bureau</translation>
    </message>
</context>
<context>
    <name>ShareActivity</name>
    <message>
        <source>%1 could not be started; it comes with the xdg-utils package.</source>
        <translation>%1 n’a pas pu être lancé&#xa0;; il est fourni par le paquet xdg-utils.</translation>
    </message>
    <message>
        <source>No application opened %1.</source>
        <translation>Aucune application n’a ouvert %1.</translation>
    </message>
    <message numerus="yes">
        <source>%n items</source>
        <translation>
            <numerusform>%n élément</numerusform>
            <numerusform>%n éléments</numerusform>
        </translation>
    </message>
    <message>
        <source>Saved %1 in %2.</source>
        <translation>%1 a été enregistré dans %2.</translation>
    </message>
    <message>
        <source>Attached %1 to a new e-mail.</source>
        <translation>%1 a été joint à un nouveau courriel.</translation>
    </message>
    <message>
        <source>Opened %1.</source>
        <translation>%1 a été ouvert.</translation>
    </message>
</context>
<context>
    <name>ShareDialog</name>
    <message>
        <source>Share Items</source>
        <translation>Partager les éléments</translation>
    </message>
    <message>
        <source>Enter Passcode</source>
        <translation>Saisir le code d’accès</translation>
    </message>
    <message>
        <source>Sharing items requires authentication with a passcode; this is the initial passcode you created to protect the app.

Shared items must be decrypted first before they can be shared; those temporary files are deleted after sharing.</source>
        <translation>Le partage d’éléments demande une authentification par code d’accès&#xa0;; il s’agit du code initial que vous avez créé pour protéger l’application.

Les éléments partagés doivent d’abord être déchiffrés&#xa0;; ces fichiers temporaires sont supprimés après le partage.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Partager</translation>
    </message>
    <message>
        <source>Copies given to another application stay in Lumisera&apos;s private temporary folder until Lumisera quits, so that the application can still read them.</source>
        <translation>Les copies confiées à une autre application restent dans le dossier temporaire privé de Lumisera jusqu’à sa fermeture, afin que cette application puisse encore les lire.</translation>
    </message>
</context>
<context>
    <name>ShareTargets</name>
    <message>
        <source>Save to Folder…</source>
        <translation>Enregistrer dans un dossier…</translation>
    </message>
    <message>
        <source>Decrypted copies in a folder you choose</source>
        <translation>Des copies déchiffrées dans un dossier de votre choix</translation>
    </message>
    <message>
        <source>Send by E-mail</source>
        <translation>Envoyer par courriel</translation>
    </message>
    <message>
        <source>A new message in your e-mail program, the items attached</source>
        <translation>Un nouveau message dans votre logiciel de messagerie, avec les éléments en pièces jointes</translation>
    </message>
    <message>
        <source>Open with Default Application</source>
        <translation>Ouvrir avec l’application par défaut</translation>
    </message>
    <message>
        <source>Each item in the application your desktop opens it with</source>
        <translation>Chaque élément dans l’application avec laquelle votre bureau l’ouvre</translation>
    </message>
    <message>
        <source>Save to Folder</source>
        <translation>Enregistrer dans un dossier</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Share Items</source>
        <translation>Partager les éléments</translation>
    </message>
</context>
<context>
    <name>StorageLocationSelectionView</name>
    <message>
        <source>Stored on this device only.</source>
        <translation>Stocké uniquement sur cet appareil.</translation>
    </message>
    <message>
        <source>Files available to all devices that sync this folder</source>
        <translation>Fichiers disponibles sur tous les appareils qui synchronisent ce dossier</translation>
    </message>
    <message>
        <source>Choose Synced Folder…</source>
        <translation>Choisir le dossier synchronisé…</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>Stockage</translation>
    </message>
    <message>
        <source>Folders and Files</source>
        <translation>Dossiers et fichiers</translation>
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
        <translation>Sur l’appareil</translation>
    </message>
    <message>
        <source> (Disabled) </source>
        <translation> (Désactivé) </translation>
    </message>
    <message>
        <source>The synced folder could not be linked.</source>
        <translation>Le dossier synchronisé n’a pas pu être lié.</translation>
    </message>
</context>
<context>
    <name>StorageTip</name>
    <message>
        <source>Folders and Files</source>
        <translation>Dossiers et fichiers</translation>
    </message>
    <message>
        <source>Folders created on-device have contents that will only be available on this device and will be included in device backups.

Folders created in the cloud tree are available on every device whose sync client keeps this folder in sync, using the same passcode. </source>
        <translation>Le contenu des dossiers créés sur l’appareil n’est disponible que sur cet appareil et est inclus dans ses sauvegardes.

Les dossiers créés dans l’arborescence cloud sont disponibles sur chaque appareil dont le client de synchronisation garde ce dossier synchronisé, avec le même code d’accès. </translation>
    </message>
</context>
<context>
    <name>StoredItemProvider</name>
    <message>
        <source>The private temporary folder could not be made.</source>
        <translation>Le dossier temporaire privé n’a pas pu être créé.</translation>
    </message>
    <message>
        <source>Sharing was stopped.</source>
        <translation>Le partage a été interrompu.</translation>
    </message>
    <message>
        <source>The vault is locked.</source>
        <translation>Le coffre est verrouillé.</translation>
    </message>
    <message>
        <source>%1 could not be read: %2</source>
        <translation>%1 n’a pas pu être lu&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 n’a pas pu être écrit&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 could not be decrypted; the stored file may be damaged.</source>
        <translation>%1 n’a pas pu être déchiffré&#xa0;; le fichier enregistré est peut-être endommagé.</translation>
    </message>
    <message>
        <source>%1 could not be saved in %2: %3</source>
        <translation>%1 n’a pas pu être enregistré dans %2&#xa0;: %3</translation>
    </message>
    <message>
        <source>%1 cannot be shared under this name.</source>
        <translation>%1 ne peut pas être partagé sous ce nom.</translation>
    </message>
    <message>
        <source>Shared from Morvenda Lumisera</source>
        <translation>Partagé depuis Morvenda Lumisera</translation>
    </message>
</context>
<context>
    <name>TextPreview</name>
    <message>
        <source>Showing the first %1 of %2.</source>
        <translation>Affichage des premiers %1 sur %2.</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Texte</translation>
    </message>
</context>
<context>
    <name>TreeKeyCheck</name>
    <message>
        <source>This folder tree was written with another passcode</source>
        <translation>Cette arborescence de dossiers a été écrite avec un autre code d’accès</translation>
    </message>
    <message>
        <source>The key-check entry of this folder tree (%1) is damaged, so Lumisera cannot tell which passcode the tree was written with and writes nothing there</source>
        <translation>L’entrée de contrôle de clé de cette arborescence de dossiers (%1) est endommagée, Lumisera ne peut donc pas savoir avec quel code d’accès l’arborescence a été écrite et n’y écrit rien</translation>
    </message>
    <message>
        <source>The key-check entry could not be encrypted</source>
        <translation>L’entrée de contrôle de clé n’a pas pu être chiffrée</translation>
    </message>
    <message>
        <source>The key-check entry of this folder tree could not be written: %1</source>
        <translation>L’entrée de contrôle de clé de cette arborescence de dossiers n’a pas pu être écrite&#xa0;: %1</translation>
    </message>
    <message>
        <source>The key-check entry of this folder tree (%1) is not a file; move it aside first</source>
        <translation>L’entrée de contrôle de clé de cette arborescence de dossiers (%1) n’est pas un fichier&#xa0;; mettez-la d’abord de côté</translation>
    </message>
    <message>
        <source>The vault locked</source>
        <translation>Le coffre s’est verrouillé</translation>
    </message>
</context>
<context>
    <name>UserFormTextField</name>
    <message>
        <source>Passcode</source>
        <translation>Code d’accès</translation>
    </message>
    <message>
        <source>Repeat Passcode</source>
        <translation>Répéter le code d’accès</translation>
    </message>
    <message>
        <source>Pin</source>
        <translation>Code PIN</translation>
    </message>
    <message>
        <source>Optional Pin</source>
        <translation>Code PIN facultatif</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>C&amp;oller</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Tout sélectionner</translation>
    </message>
</context>
<context>
    <name>VaultArguments</name>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>commande inconnue &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 goes before the command</source>
        <translation>%1 se place avant la commande</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>option inconnue %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 attend une valeur</translation>
    </message>
    <message>
        <source>%1 takes no --pin</source>
        <translation>%1 n’accepte pas --pin</translation>
    </message>
    <message>
        <source>%1 takes no -o</source>
        <translation>%1 n’accepte pas -o</translation>
    </message>
    <message>
        <source>%1 takes no --yes</source>
        <translation>%1 n’accepte pas --yes</translation>
    </message>
    <message>
        <source>rmdir deletes everything in the folder; confirm with --yes</source>
        <translation>rmdir supprime tout le contenu du dossier&#xa0;; confirmez avec --yes</translation>
    </message>
    <message>
        <source>wrong arguments for %1</source>
        <translation>arguments incorrects pour %1</translation>
    </message>
    <message>
        <source>ls takes --pin only with a folder</source>
        <translation>ls n’accepte --pin qu’avec un dossier</translation>
    </message>
    <message>
        <source>check takes --cloud or --local, not both</source>
        <translation>check accepte --cloud ou --local, pas les deux</translation>
    </message>
    <message>
        <source>%1 takes no --resume</source>
        <translation>%1 n’accepte pas --resume</translation>
    </message>
</context>
<context>
    <name>VaultCheck</name>
    <message>
        <source>Files that do not decrypt with the passcode</source>
        <translation>Fichiers qui ne se déchiffrent pas avec le code d’accès</translation>
    </message>
    <message>
        <source>PIN entries that cannot be read</source>
        <translation>Entrées de code PIN illisibles</translation>
    </message>
    <message>
        <source>Names that do not decode</source>
        <translation>Noms qui ne se décodent pas</translation>
    </message>
    <message>
        <source>Symbolic links</source>
        <translation>Liens symboliques</translation>
    </message>
    <message>
        <source>Special files (FIFOs, sockets, devices)</source>
        <translation>Fichiers spéciaux (FIFO, sockets, périphériques)</translation>
    </message>
    <message>
        <source>Leftovers of interrupted writes</source>
        <translation>Restes d’écritures interrompues</translation>
    </message>
    <message>
        <source>Sync-conflict copies</source>
        <translation>Copies en conflit de synchronisation</translation>
    </message>
    <message>
        <source>A CloudContainer link that leads nowhere</source>
        <translation>Un lien CloudContainer qui ne mène nulle part</translation>
    </message>
    <message>
        <source>Folders that cannot be read</source>
        <translation>Dossiers illisibles</translation>
    </message>
    <message>
        <source>Trees written with another passcode</source>
        <translation>Arborescences écrites avec un autre code d’accès</translation>
    </message>
    <message>
        <source>Damaged key-check entries</source>
        <translation>Entrées de contrôle de clé endommagées</translation>
    </message>
</context>
<context>
    <name>VaultCommands</name>
    <message>
        <source>set the passcode</source>
        <translation>définir le code d’accès</translation>
    </message>
    <message>
        <source>Asks for a new passcode twice (two lines with --passcode-stdin). It needs at least 8 characters,
letters and numbers, ASCII only. Refused when a passcode is already set.
</source>
        <translation>Demande deux fois un nouveau code d’accès (deux lignes avec --passcode-stdin). Il lui faut au moins
8 caractères, lettres et chiffres, en ASCII uniquement. Refusé si un code d’accès est déjà défini.
</translation>
    </message>
    <message>
        <source>list the folders, or the files of FOLDER</source>
        <translation>lister les dossiers, ou les fichiers de FOLDER</translation>
    </message>
    <message>
        <source>Without FOLDER: the entries of the tree&apos;s root, one per line. With FOLDER: its files&apos; names in
the order the application shows them. A folder with a PIN needs --pin. A sync client&apos;s conflict
copy shows as NAME (conflict DATE TIME).EXT, and bytes of a name that are not UTF-8 as U+FFFD.
get and rm take names as shown, and refuse one that several files show.
</source>
        <translation>Sans FOLDER&#xa0;: les entrées de la racine de l’arborescence, une par ligne. Avec FOLDER&#xa0;: les noms
de ses fichiers dans l’ordre où l’application les affiche. Un dossier protégé par un code PIN
demande --pin. La copie en conflit d’un client de synchronisation apparaît sous la forme
NOM (conflict DATE HEURE).EXT, et les octets d’un nom qui ne sont pas de l’UTF-8 sous la forme
U+FFFD. get et rm prennent les noms tels qu’ils sont affichés et refusent un nom sous lequel
plusieurs fichiers apparaissent.
</translation>
    </message>
    <message>
        <source>create a folder, with a PIN when given</source>
        <translation>créer un dossier, avec un code PIN s’il est donné</translation>
    </message>
    <message>
        <source>Prints the name the folder got (&quot;-&quot; becomes &quot;_&quot;). A PIN has at least 4 characters.
</source>
        <translation>Affiche le nom donné au dossier (&quot;-&quot; devient &quot;_&quot;). Un code PIN compte au moins 4 caractères.
</translation>
    </message>
    <message>
        <source>delete a folder and everything in it</source>
        <translation>supprimer un dossier et tout son contenu</translation>
    </message>
    <message>
        <source>Deletes FOLDER with all its files; --yes confirms.
</source>
        <translation>Supprime FOLDER avec tous ses fichiers&#xa0;; --yes confirme.
</translation>
    </message>
    <message>
        <source>encrypt files into a folder</source>
        <translation>chiffrer des fichiers dans un dossier</translation>
    </message>
    <message>
        <source>Stores each FILE encrypted under its own name, numbered when the name is taken, and prints
each stored name on its own line. The FILEs themselves are left alone.
</source>
        <translation>Enregistre chaque FILE chiffré sous son propre nom, numéroté si le nom est pris, et affiche
chaque nom enregistré sur sa propre ligne. Les FILE eux-mêmes ne sont pas modifiés.
</translation>
    </message>
    <message>
        <source>decrypt one file</source>
        <translation>déchiffrer un fichier</translation>
    </message>
    <message>
        <source>Decrypts NAME to OUT (&quot;-&quot; for standard output); by default to ./NAME. An existing file is
never overwritten.
</source>
        <translation>Déchiffre NAME vers OUT (&quot;-&quot; pour la sortie standard)&#xa0;; par défaut vers ./NAME. Un fichier
existant n’est jamais écrasé.
</translation>
    </message>
    <message>
        <source>delete files</source>
        <translation>supprimer des fichiers</translation>
    </message>
    <message>
        <source>Deletes the named files of FOLDER; nothing is deleted when one of them is missing.
</source>
        <translation>Supprime les fichiers nommés de FOLDER&#xa0;; rien n’est supprimé si l’un d’eux manque.
</translation>
    </message>
    <message>
        <source>set or remove a folder&apos;s PIN</source>
        <translation>définir ou supprimer le code PIN d’un dossier</translation>
    </message>
    <message>
        <source>Needs only the passcode, as in the application. A PIN has at least 4 characters.
</source>
        <translation>Demande seulement le code d’accès, comme dans l’application. Un code PIN compte au moins
4 caractères.
</translation>
    </message>
    <message>
        <source>show or move where the passcode is kept</source>
        <translation>afficher ou changer l’endroit où le code d’accès est conservé</translation>
    </message>
    <message>
        <source>Without an argument, prints where the passcode is kept: &quot;keyring&quot; (the desktop keyring) or
&quot;file&quot; (a private file). With one, moves it there: asks for the passcode, writes it to the
new place, checks that it reads back, and only then removes it from the old one.
</source>
        <translation>Sans argument, affiche l’endroit où le code d’accès est conservé&#xa0;: &quot;keyring&quot; (le trousseau du
bureau) ou &quot;file&quot; (un fichier privé). Avec un argument, l’y déplace&#xa0;: demande le code d’accès,
l’écrit au nouvel endroit, vérifie qu’il se relit, puis seulement le retire de l’ancien.
</translation>
    </message>
    <message>
        <source>Usage: lumisera-vault [--cloud] [--passcode-stdin] </source>
        <translation>Utilisation&#xa0;: lumisera-vault [--cloud] [--passcode-stdin] </translation>
    </message>
    <message>
        <source>
Every command asks for the passcode (--passcode-stdin: the first line of standard input).
Exit status: 0 done, 1 failed, 2 usage error.
</source>
        <translation>
Chaque commande demande le code d’accès (--passcode-stdin&#xa0;: la première ligne de l’entrée standard).
Code de sortie&#xa0;: 0 réussi, 1 échec, 2 erreur d’utilisation.
</translation>
    </message>
    <message>
        <source>cloud tree</source>
        <translation>arborescence cloud</translation>
    </message>
    <message>
        <source>local tree</source>
        <translation>arborescence locale</translation>
    </message>
    <message>
        <source>; a passcode may already be set there</source>
        <translation>&#xa0;; un code d’accès y est peut-être déjà défini</translation>
    </message>
    <message>
        <source>init: a passcode is already set</source>
        <translation>init&#xa0;: un code d’accès est déjà défini</translation>
    </message>
    <message>
        <source>New passcode: </source>
        <translation>Nouveau code d’accès&#xa0;: </translation>
    </message>
    <message>
        <source>Repeat passcode: </source>
        <translation>Répétez le code d’accès&#xa0;: </translation>
    </message>
    <message>
        <source>init: no passcode given</source>
        <translation>init&#xa0;: aucun code d’accès donné</translation>
    </message>
    <message>
        <source>init: passcode refused: </source>
        <translation>init&#xa0;: code d’accès refusé&#xa0;: </translation>
    </message>
    <message>
        <source>init: unable to save the passcode to the credential store</source>
        <translation>init&#xa0;: impossible d’enregistrer le code d’accès dans le magasin d’identifiants</translation>
    </message>
    <message>
        <source>no passcode is set; set one with lumisera-vault init</source>
        <translation>aucun code d’accès n’est défini&#xa0;; définissez-en un avec lumisera-vault init</translation>
    </message>
    <message>
        <source>Passcode: </source>
        <translation>Code d’accès&#xa0;: </translation>
    </message>
    <message>
        <source>no passcode given</source>
        <translation>aucun code d’accès donné</translation>
    </message>
    <message>
        <source>no passcode given (without a terminal, use --passcode-stdin)</source>
        <translation>aucun code d’accès donné (sans terminal, utilisez --passcode-stdin)</translation>
    </message>
    <message>
        <source>wrong passcode</source>
        <translation>code d’accès incorrect</translation>
    </message>
    <message>
        <source>the cloud container is absent (%1)</source>
        <translation>le conteneur cloud est absent (%1)</translation>
    </message>
    <message>
        <source>cannot open the %1</source>
        <translation>impossible d’ouvrir l’%1</translation>
    </message>
    <message>
        <source>no folder &quot;%1&quot; in the %2</source>
        <translation>aucun dossier &quot;%1&quot; dans l’%2</translation>
    </message>
    <message>
        <source>cannot open folder &quot;%1&quot;</source>
        <translation>impossible d’ouvrir le dossier &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 (folder &quot;%2&quot;); set a new one or remove it with lumisera-vault pin</source>
        <translation>%1 (dossier &quot;%2&quot;)&#xa0;; définissez-en un nouveau ou supprimez-le avec lumisera-vault pin</translation>
    </message>
    <message>
        <source>folder &quot;%1&quot; is protected by a PIN; give it with --pin</source>
        <translation>le dossier &quot;%1&quot; est protégé par un code PIN&#xa0;; donnez-le avec --pin</translation>
    </message>
    <message>
        <source>wrong PIN for folder &quot;%1&quot;</source>
        <translation>code PIN incorrect pour le dossier &quot;%1&quot;</translation>
    </message>
    <message>
        <source>no file &quot;%1&quot; in folder &quot;%2&quot;</source>
        <translation>aucun fichier &quot;%1&quot; dans le dossier &quot;%2&quot;</translation>
    </message>
    <message numerus="yes">
        <source>%n files in folder &quot;%1&quot; show as &quot;%2&quot;; none was chosen</source>
        <translation>
            <numerusform>%n fichier du dossier &quot;%1&quot; apparaît sous le nom &quot;%2&quot;&#xa0;; aucun n’a été choisi</numerusform>
            <numerusform>%n fichiers du dossier &quot;%1&quot; apparaissent sous le nom &quot;%2&quot;&#xa0;; aucun n’a été choisi</numerusform>
        </translation>
    </message>
    <message>
        <source>mkdir: refused folder name &quot;%1&quot;</source>
        <translation>mkdir&#xa0;: nom de dossier &quot;%1&quot; refusé</translation>
    </message>
    <message>
        <source>mkdir: a PIN needs at least %1 characters</source>
        <translation>mkdir&#xa0;: un code PIN doit compter au moins %1 caractères</translation>
    </message>
    <message>
        <source>mkdir: folder &quot;%1&quot; already exists</source>
        <translation>mkdir&#xa0;: le dossier &quot;%1&quot; existe déjà</translation>
    </message>
    <message>
        <source>mkdir: could not create folder &quot;%1&quot;</source>
        <translation>mkdir&#xa0;: impossible de créer le dossier &quot;%1&quot;</translation>
    </message>
    <message>
        <source>rmdir: could not delete folder &quot;%1&quot;</source>
        <translation>rmdir&#xa0;: impossible de supprimer le dossier &quot;%1&quot;</translation>
    </message>
    <message>
        <source>add: cannot read &quot;%1&quot;</source>
        <translation>add&#xa0;: impossible de lire &quot;%1&quot;</translation>
    </message>
    <message>
        <source>add: &quot;%1&quot; has a hidden name; rename it first</source>
        <translation>add&#xa0;: &quot;%1&quot; a un nom caché&#xa0;; renommez-le d’abord</translation>
    </message>
    <message>
        <source>add: &quot;%1&quot; has the name of a folder&apos;s PIN file; rename it first</source>
        <translation>add&#xa0;: &quot;%1&quot; porte le nom du fichier PIN d’un dossier&#xa0;; renommez-le d’abord</translation>
    </message>
    <message>
        <source>add: &quot;%1&quot; would be listed under another name (as with white space at either end); rename it first</source>
        <translation>add&#xa0;: &quot;%1&quot; serait listé sous un autre nom (comme avec des espaces au début ou à la fin)&#xa0;; renommez-le d’abord</translation>
    </message>
    <message>
        <source>add: could not store &quot;%1&quot; in folder &quot;%2&quot;</source>
        <translation>add&#xa0;: impossible d’enregistrer &quot;%1&quot; dans le dossier &quot;%2&quot;</translation>
    </message>
    <message>
        <source>get: could not decrypt &quot;%1&quot;</source>
        <translation>get&#xa0;: impossible de déchiffrer &quot;%1&quot;</translation>
    </message>
    <message>
        <source>get: &quot;%1&quot; already exists</source>
        <translation>get&#xa0;: &quot;%1&quot; existe déjà</translation>
    </message>
    <message>
        <source>get: cannot write in &quot;%1&quot;</source>
        <translation>get&#xa0;: impossible d’écrire dans &quot;%1&quot;</translation>
    </message>
    <message>
        <source>get: cannot write &quot;%1&quot;</source>
        <translation>get&#xa0;: impossible d’écrire &quot;%1&quot;</translation>
    </message>
    <message>
        <source>rm: could not delete every file in folder &quot;%1&quot;</source>
        <translation>rm&#xa0;: impossible de supprimer tous les fichiers du dossier &quot;%1&quot;</translation>
    </message>
    <message>
        <source>no passcode is set</source>
        <translation>aucun code d’accès n’est défini</translation>
    </message>
    <message>
        <source>note: </source>
        <translation>remarque&#xa0;: </translation>
    </message>
    <message>
        <source>pin: folder &quot;%1&quot; has no PIN</source>
        <translation>pin&#xa0;: le dossier &quot;%1&quot; n’a pas de code PIN</translation>
    </message>
    <message>
        <source>pin: could not remove the PIN of folder &quot;%1&quot;</source>
        <translation>pin&#xa0;: impossible de supprimer le code PIN du dossier &quot;%1&quot;</translation>
    </message>
    <message>
        <source>pin: a PIN needs at least %1 characters</source>
        <translation>pin&#xa0;: un code PIN doit compter au moins %1 caractères</translation>
    </message>
    <message>
        <source>pin: could not set the PIN of folder &quot;%1&quot;</source>
        <translation>pin&#xa0;: impossible de définir le code PIN du dossier &quot;%1&quot;</translation>
    </message>
    <message>
        <source>look for damaged and foreign entries, changing nothing</source>
        <translation>rechercher les entrées endommagées et étrangères, sans rien modifier</translation>
    </message>
    <message>
        <source>Looks at every entry of both trees (or one: --cloud, --local) and reports files that do not
decrypt with the passcode (wrong length or padding: only each file&apos;s last 32 bytes are read, so
damage inside a file goes unseen), PIN entries that cannot be read, names that are not UTF-8,
links, special files, leftovers of interrupted writes, sync-conflict copies, a CloudContainer
link that leads nowhere, folders that cannot be read, and a tree written with another passcode.
Exit status 0 when nothing is wrong, 1 with findings.
</source>
        <translation>Examine chaque entrée des deux arborescences (ou d’une seule&#xa0;: --cloud, --local) et signale les
fichiers qui ne se déchiffrent pas avec le code d’accès (longueur ou remplissage incorrects&#xa0;: seuls
les 32 derniers octets de chaque fichier sont lus, un dommage interne passe donc inaperçu), les entrées
de code PIN illisibles, les noms non UTF-8, les liens, les fichiers spéciaux, les restes d’écritures
interrompues, les copies en conflit, un lien CloudContainer sans cible, les dossiers illisibles et une
arborescence écrite avec un autre code d’accès. Code de sortie 0 si tout va bien, 1 en cas de problème.
</translation>
    </message>
    <message>
        <source>Files checked: %1 (%2)</source>
        <translation>Fichiers vérifiés&#xa0;: %1 (%2)</translation>
    </message>
    <message>
        <source>Checked: %1; files: %2 (%3)</source>
        <translation>Vérifié&#xa0;: %1&#xa0;; fichiers&#xa0;: %2 (%3)</translation>
    </message>
    <message>
        <source>no tree (none is set up)</source>
        <translation>aucune arborescence (aucune n’est configurée)</translation>
    </message>
    <message>
        <source>cloud</source>
        <translation>cloud</translation>
    </message>
    <message>
        <source>local</source>
        <translation>local</translation>
    </message>
    <message>
        <source>Nothing is wrong.</source>
        <translation>Aucun problème.</translation>
    </message>
    <message>
        <source>check: problems found: %1</source>
        <translation>check&#xa0;: problèmes trouvés&#xa0;: %1</translation>
    </message>
    <message>
        <source>change the passcode of every file in both trees</source>
        <translation>changer le code d’accès de chaque fichier des deux arborescences</translation>
    </message>
    <message>
        <source>Asks for the current passcode, then the new one twice (three lines with --passcode-stdin), and
encrypts every file and PIN of both trees again with the new one. Ctrl-C stops at the next file;
an interrupted change (Ctrl-C, a crash, a full disk) is finished with --resume, which asks for
the current passcode (and the new one when the credential store no longer holds it). Until then
every other command refuses to run.
</source>
        <translation>Demande le code d’accès actuel, puis deux fois le nouveau (trois lignes avec --passcode-stdin), et
rechiffre chaque fichier et code PIN des deux arborescences avec le nouveau. Ctrl-C s’arrête au
fichier suivant&#xa0;; un changement interrompu (Ctrl-C, un plantage, un disque plein) se termine avec
--resume, qui demande le code d’accès actuel (et le nouveau si le magasin d’identifiants ne le contient
plus). D’ici là, toute autre commande refuse de s’exécuter.
</translation>
    </message>
</context>
<context>
    <name>WarningCard</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
</context>
</TS>
