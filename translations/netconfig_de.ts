<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CAdaptersPage</name>
    <message>
        <source>Ethernet adapter:</source>
        <translation>Ethernet-Adapter:</translation>
    </message>
    <message>
        <source>IP address configuration</source>
        <translation>IP-Adresskonfiguration</translation>
    </message>
    <message>
        <source>A&amp;dvanced...</source>
        <translation>&amp;Erweitert...</translation>
    </message>
    <message>
        <source>Alt+D</source>
        <translation>Alt+L</translation>
    </message>
    <message>
        <source>Use the following IP address :</source>
        <translation>Folgende IP-Adresse verwenden:</translation>
    </message>
    <message>
        <source>&amp;Release address</source>
        <translation>Adresse &amp;freigeben</translation>
    </message>
    <message>
        <source>Alt+R</source>
        <translation>Alt+F</translation>
    </message>
    <message>
        <source>Subnet Mask :</source>
        <translation>Subnetzmaske:</translation>
    </message>
    <message>
        <source>IP Address :</source>
        <translation>IP-Adresse:</translation>
    </message>
    <message>
        <source>Default Gateway :</source>
        <translation>Standardgateway:</translation>
    </message>
    <message>
        <source>Re&amp;new address</source>
        <translation>Adresse er&amp;neuern</translation>
    </message>
    <message>
        <source>Alt+N</source>
        <translation>Alt+N</translation>
    </message>
    <message>
        <source>Obtain an IP address automaticaly.</source>
        <translation>IP-Adresse automatisch beziehen.</translation>
    </message>
    <message>
        <source>000.000.000.000; </source>
        <translation>000.000.000.000; </translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>DNS/WINS configuration</source>
        <translation>DNS/WINS-Konfiguration</translation>
    </message>
    <message>
        <source>Secondary WINS server :</source>
        <translation>Sekundärer WINS-Server:</translation>
    </message>
    <message>
        <source>Primary WINS server :</source>
        <translation>Primärer WINS-Server:</translation>
    </message>
    <message>
        <source>Obtain DNS server address automaticaly</source>
        <translation>DNS-Serveradresse automatisch beziehen</translation>
    </message>
    <message>
        <source>Obtain WINS server address automaticaly</source>
        <translation>WINS-Serveradresse automatisch beziehen</translation>
    </message>
    <message>
        <source>DNS server :</source>
        <translation>DNS-Server:</translation>
    </message>
</context>
<context>
    <name>CDrivesPage</name>
    <message>
        <source>&amp;Disconnect Drive ...</source>
        <translation>Netzlaufwerk tr&amp;ennen ...</translation>
    </message>
    <message>
        <source>Alt+D</source>
        <translation>Alt+L</translation>
    </message>
    <message>
        <source>&amp;Map Network Drive</source>
        <translation>Netzlaufwerk &amp;verbinden</translation>
    </message>
    <message>
        <source>Alt+M</source>
        <translation>Alt+V</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Laufwerk</translation>
    </message>
    <message>
        <source>Network path</source>
        <translation>Netzwerkpfad</translation>
    </message>
</context>
<context>
    <name>CIdentityPage</name>
    <message>
        <source>Primary DNS suffix :</source>
        <translation>Primäres DNS-Suffix:</translation>
    </message>
    <message>
        <source>Computer Name :</source>
        <translation>Computername:</translation>
    </message>
    <message>
        <source>Workgroup :</source>
        <translation>Arbeitsgruppe:</translation>
    </message>
</context>
<context>
    <name>CKeepDialog</name>
    <message>
        <source>Network Configuration</source>
        <translation>Netzwerkkonfiguration</translation>
    </message>
    <message>
        <source>&amp;Keep</source>
        <translation>&amp;Beibehalten</translation>
    </message>
    <message>
        <source>&amp;Revert</source>
        <translation>&amp;Zurücksetzen</translation>
    </message>
    <message>
        <source>Keep these network settings? Reverting in %1 seconds</source>
        <translation>Diese Netzwerkeinstellungen beibehalten? Sie werden in %1 Sekunden zurückgesetzt.</translation>
    </message>
</context>
<context>
    <name>CMapDriveDialog</name>
    <message>
        <source>Map Network Drive</source>
        <translation>Netzlaufwerk verbinden</translation>
    </message>
    <message>
        <source>What network folder would you like to map?</source>
        <translation>Mit welchem Netzwerkordner möchten Sie eine Verbindung herstellen?</translation>
    </message>
    <message>
        <source>Specify the drive letter for the connection and the folder that you want to connect to:</source>
        <translation>Geben Sie den Laufwerkbuchstaben für die Verbindung und den Ordner an, mit dem die Verbindung hergestellt werden soll:</translation>
    </message>
    <message>
        <source>\\server\share</source>
        <translation>\\server\freigabe</translation>
    </message>
    <message>
        <source>&amp;Reconnect at sign-in</source>
        <translation>Verbindung bei Anmeldung &amp;wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Drive:</source>
        <translation>&amp;Laufwerk:</translation>
    </message>
    <message>
        <source>&amp;Folder:</source>
        <translation>&amp;Ordner:</translation>
    </message>
    <message>
        <source>&amp;Finish</source>
        <translation>&amp;Fertig stellen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Example: \\server\share</source>
        <translation>Beispiel: \\server\freigabe</translation>
    </message>
    <message>
        <source>Type the folder as \\server\share or \\server\share\folder.</source>
        <translation>Geben Sie den Ordner als \\server\freigabe oder \\server\freigabe\ordner ein.</translation>
    </message>
    <message>
        <source>The network folder could not be connected (system error %1).</source>
        <translation>Die Verbindung zum Netzwerkordner konnte nicht hergestellt werden (Systemfehler %1).</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
</context>
<context>
    <name>CNetAddrList</name>
    <message>
        <source>Address list</source>
        <translation>Adressliste</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Alt+O</source>
        <translation>Alt+O</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>IP Address :</source>
        <translation>IP-Adresse:</translation>
    </message>
    <message>
        <source>000.000.000.000; </source>
        <translation>000.000.000.000; </translation>
    </message>
    <message>
        <source>Subnet Mask :</source>
        <translation>Subnetzmaske:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>&amp;Add address</source>
        <translation>Adresse &amp;hinzufügen</translation>
    </message>
    <message>
        <source>Alt+A</source>
        <translation>Alt+H</translation>
    </message>
    <message>
        <source>&amp;Delete address</source>
        <translation>Adresse &amp;löschen</translation>
    </message>
    <message>
        <source>Alt+D</source>
        <translation>Alt+L</translation>
    </message>
</context>
<context>
    <name>CNetAddrListImpl</name>
    <message>
        <source>IP Address</source>
        <translation>IP-Adresse</translation>
    </message>
    <message>
        <source>Mask</source>
        <translation>Maske</translation>
    </message>
    <message>
        <source>Ip address %1 is not valid.</source>
        <translation>Die IP-Adresse %1 ist ungültig.</translation>
    </message>
</context>
<context>
    <name>CNetConfig</name>
    <message>
        <source>Network Configuration</source>
        <translation>Netzwerkkonfiguration</translation>
    </message>
    <message>
        <source>Alt+S</source>
        <translation>Alt+S</translation>
    </message>
    <message>
        <source>&amp;Load from file</source>
        <translation>Aus Datei &amp;laden</translation>
    </message>
    <message>
        <source>Alt+L</source>
        <translation>Alt+L</translation>
    </message>
    <message>
        <source>&amp;Save to file</source>
        <translation>In Datei &amp;speichern</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Alt+O</source>
        <translation>Alt+O</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>Ü&amp;bernehmen</translation>
    </message>
    <message>
        <source>Alt+A</source>
        <translation>Alt+B</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Alt+C</source>
        <translation>Alt+A</translation>
    </message>
    <message>
        <source>Restore the network settings saved before the last change</source>
        <translation>Die vor der letzten Änderung gesicherten Netzwerkeinstellungen wiederherstellen</translation>
    </message>
    <message>
        <source>Res&amp;tore previous settings</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
</context>
<context>
    <name>CNetConfigImpl</name>
    <message>
        <source>Network Configuration</source>
        <translation>Netzwerkkonfiguration</translation>
    </message>
    <message>
        <source>Network adapters</source>
        <translation>Netzwerkadapter</translation>
    </message>
    <message>
        <source>Network drives</source>
        <translation>Netzlaufwerke</translation>
    </message>
    <message>
        <source>Network identification</source>
        <translation>Identifikation</translation>
    </message>
    <message>
        <source>Network utilities</source>
        <translation>Dienstprogramme</translation>
    </message>
    <message>
        <source>Ini Files (*.ini)</source>
        <translation>INI-Dateien (*.ini)</translation>
    </message>
    <message>
        <source>Save to file</source>
        <translation>In Datei speichern</translation>
    </message>
    <message>
        <source>Can not create a file.</source>
        <translation>Die Datei kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Can not save parameters to file.</source>
        <translation>Die Einstellungen können nicht in der Datei gespeichert werden.</translation>
    </message>
    <message>
        <source>Load from file</source>
        <translation>Aus Datei laden</translation>
    </message>
    <message>
        <source>Can not load parameters from file.</source>
        <translation>Die Einstellungen können nicht aus der Datei geladen werden.</translation>
    </message>
    <message>
        <source>Ip address %1 is not valid.</source>
        <translation>Die IP-Adresse %1 ist ungültig.</translation>
    </message>
    <message>
        <source>Subnet mask %1 is not valid.</source>
        <translation>Die Subnetzmaske %1 ist ungültig.</translation>
    </message>
    <message>
        <source>Subnet mask %1 is not valid for entered ip address.</source>
        <translation>Die Subnetzmaske %1 passt nicht zur eingegebenen IP-Adresse.</translation>
    </message>
    <message>
        <source>Computer name is empty.</source>
        <translation>Der Computername ist leer.</translation>
    </message>
    <message>
        <source>Group/domain name is empty.</source>
        <translation>Der Arbeitsgruppen-/Domänenname ist leer.</translation>
    </message>
    <message>
        <source>DNS/WINS can not be set automatically in current configuration.</source>
        <translation>DNS/WINS kann in der aktuellen Konfiguration nicht automatisch festgelegt werden.</translation>
    </message>
    <message>
        <source>DNS servers</source>
        <translation>DNS-Server</translation>
    </message>
    <message>
        <source>WINS servers</source>
        <translation>WINS-Server</translation>
    </message>
    <message>
        <source>IP address</source>
        <translation>IP-Adresse</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Applying %1 of %2: %3 of %4</source>
        <translation>Übernahme %1 von %2: %3 für %4</translation>
    </message>
    <message>
        <source>Can not save the current settings before changing them.</source>
        <translation>Die aktuellen Einstellungen können vor der Änderung nicht gesichert werden.</translation>
    </message>
    <message>
        <source>The new computer name takes effect when the computer is restarted.</source>
        <translation>Der neue Computername wird nach einem Neustart des Computers wirksam.</translation>
    </message>
    <message>
        <source>Not every setting took effect:</source>
        <translation>Nicht alle Einstellungen wurden wirksam:</translation>
    </message>
    <message>
        <source>Another change of this computer&apos;s network settings waits for its confirmation until %1; try again after it.</source>
        <translation>Eine andere Änderung der Netzwerkeinstellungen dieses Computers wartet bis %1 auf ihre Bestätigung; versuchen Sie es danach erneut.</translation>
    </message>
    <message>
        <source>No confirmation came in time: the settings from before are restored.</source>
        <translation>Die Bestätigung kam nicht rechtzeitig: Die vorherigen Einstellungen werden wiederhergestellt.</translation>
    </message>
    <message>
        <source>The change did not take effect as asked: the settings from before are restored.</source>
        <translation>Die Änderung wurde nicht wie angefordert wirksam: Die vorherigen Einstellungen werden wiederhergestellt.</translation>
    </message>
    <message>
        <source>Waiting %1 seconds for &quot;netconfig /c /keep&quot; before reverting.</source>
        <translation>Vor dem Zurücksetzen wird %1 Sekunden auf „netconfig /c /keep“ gewartet.</translation>
    </message>
    <message>
        <source>A change of the network settings was never confirmed: the settings from before it are restored.</source>
        <translation>Eine Änderung der Netzwerkeinstellungen wurde nie bestätigt: Die Einstellungen von vor dieser Änderung werden wiederhergestellt.</translation>
    </message>
    <message>
        <source>Restore the network settings saved on %1?</source>
        <translation>Die am %1 gesicherten Netzwerkeinstellungen wiederherstellen?</translation>
    </message>
    <message>
        <source>There are no earlier settings to restore.</source>
        <translation>Es gibt keine früheren Einstellungen, die wiederhergestellt werden können.</translation>
    </message>
    <message>
        <source>No change of the network settings waits for a confirmation.</source>
        <translation>Keine Änderung der Netzwerkeinstellungen wartet auf eine Bestätigung.</translation>
    </message>
    <message>
        <source>Ip address %1 is reserved and cannot be used.</source>
        <translation>Die IP-Adresse %1 ist reserviert und kann nicht verwendet werden.</translation>
    </message>
    <message>
        <source>Ip address %1 is a loopback address.</source>
        <translation>Die IP-Adresse %1 ist eine Loopback-Adresse.</translation>
    </message>
    <message>
        <source>Ip address %1 is not a unicast address.</source>
        <translation>Die IP-Adresse %1 ist keine Unicast-Adresse.</translation>
    </message>
    <message>
        <source>Ip address %1 is the network address of its subnet.</source>
        <translation>Die IP-Adresse %1 ist die Netzwerkadresse ihres Subnetzes.</translation>
    </message>
    <message>
        <source>Ip address %1 is the broadcast address of its subnet.</source>
        <translation>Die IP-Adresse %1 ist die Broadcastadresse ihres Subnetzes.</translation>
    </message>
    <message>
        <source>Default gateway %1 is not in the subnet of ip address %2 with subnet mask %3. Apply it anyway?</source>
        <translation>Das Standardgateway %1 liegt nicht im Subnetz der IP-Adresse %2 mit der Subnetzmaske %3. Trotzdem übernehmen?</translation>
    </message>
    <message>
        <source>obtained automatically</source>
        <translation>automatisch bezogen</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>subnet mask</source>
        <translation>Subnetzmaske</translation>
    </message>
    <message>
        <source>default gateways</source>
        <translation>Standardgateways</translation>
    </message>
    <message>
        <source>further IP addresses</source>
        <translation>weitere IP-Adressen</translation>
    </message>
    <message>
        <source>primary WINS server</source>
        <translation>primärer WINS-Server</translation>
    </message>
    <message>
        <source>secondary WINS server</source>
        <translation>sekundärer WINS-Server</translation>
    </message>
    <message>
        <source>computer name</source>
        <translation>Computername</translation>
    </message>
    <message>
        <source>workgroup or domain</source>
        <translation>Arbeitsgruppe oder Domäne</translation>
    </message>
    <message>
        <source>primary DNS suffix</source>
        <translation>primäres DNS-Suffix</translation>
    </message>
    <message>
        <source>No command ran for it.</source>
        <translation>Dafür wurde kein Befehl ausgeführt.</translation>
    </message>
    <message>
        <source>Command: %1 (exit code %2).</source>
        <translation>Befehl: %1 (Exitcode %2).</translation>
    </message>
    <message>
        <source>Identification</source>
        <translation>Identifikation</translation>
    </message>
    <message>
        <source>%1, %2: %3 was asked for, the system has %4.</source>
        <translation>%1, %2: angefordert war %3, das System hat %4.</translation>
    </message>
</context>
<context>
    <name>CUtilitiesPage</name>
    <message>
        <source>Ping the specified host until stopped</source>
        <translation>Den angegebenen Host bis zum Abbruch anpingen</translation>
    </message>
    <message>
        <source>Resolve addresses to hostnames</source>
        <translation>Adressen in Hostnamen auflösen</translation>
    </message>
    <message>
        <source>Number of echo requests to send:</source>
        <translation>Anzahl der zu sendenden Echoanforderungen:</translation>
    </message>
    <message>
        <source>Do not resolve addresses to hostnames</source>
        <translation>Adressen nicht in Hostnamen auflösen</translation>
    </message>
    <message>
        <source>Maximum number of hops to search for target:</source>
        <translation>Maximale Anzahl der Abschnitte bei der Zielsuche:</translation>
    </message>
    <message>
        <source>Wait timeout milliseconds for each reply:</source>
        <translation>Zeitlimit in Millisekunden für jede Antwort:</translation>
    </message>
    <message>
        <source>Utility:</source>
        <translation>Programm:</translation>
    </message>
    <message>
        <source>Target:</source>
        <translation>Ziel:</translation>
    </message>
    <message>
        <source>Enter IP address or host name</source>
        <translation>IP-Adresse oder Hostnamen eingeben</translation>
    </message>
    <message>
        <source>Ping</source>
        <translation>Ping</translation>
    </message>
    <message>
        <source>Trace route</source>
        <translation>Route verfolgen</translation>
    </message>
    <message>
        <source>Clear output</source>
        <translation>Ausgabe löschen</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Starten</translation>
    </message>
    <message>
        <source>Alt+S</source>
        <translation>Alt+S</translation>
    </message>
    <message>
        <source>&lt;font color=&quot;darkgreen&quot;&gt;Running %1.&lt;/font&gt;%2</source>
        <translation>&lt;font color=&quot;darkgreen&quot;&gt;%1 wird ausgeführt.&lt;/font&gt;%2</translation>
    </message>
    <message>
        <source>&lt;font color=&quot;red&quot;&gt;Could not start network utility: failed to run %1.&lt;/font&gt;%2</source>
        <translation>&lt;font color=&quot;red&quot;&gt;Das Netzwerkprogramm konnte nicht gestartet werden: %1 ließ sich nicht ausführen.&lt;/font&gt;%2</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Stoppen</translation>
    </message>
    <message>
        <source>&lt;font color=&quot;darkgreen&quot;&gt;%1%2 done.&lt;/font&gt;%2</source>
        <translation>&lt;font color=&quot;darkgreen&quot;&gt;%1%2 beendet.&lt;/font&gt;%2</translation>
    </message>
</context>
</TS>
