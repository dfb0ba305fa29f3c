<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CommSettings</name>
    <message>
        <source>Communication Settings</source>
        <translation>Communication Settings</translation>
    </message>
    <message>
        <source>ETHERNET</source>
        <translation>ETHERNET</translation>
    </message>
    <message>
        <source>SERVER IP</source>
        <translation>SERVER IP</translation>
    </message>
    <message>
        <source>SERVER PORT</source>
        <translation>SERVER PORT</translation>
    </message>
    <message>
        <source>Read Current Ip Address</source>
        <translation>Read Current Ip Address</translation>
    </message>
    <message>
        <source>IP :</source>
        <translation>IP :</translation>
    </message>
    <message>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>COM PORT</source>
        <translation>COM PORT</translation>
    </message>
    <message>
        <source>TCP</source>
        <translation>TCP</translation>
    </message>
    <message>
        <source>PORT 485</source>
        <translation>PORT 485</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Abort </source>
        <translation>Abort </translation>
    </message>
    <message>
        <source>PORT 232</source>
        <translation>PORT 232</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abort</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>%1(%2)</source>
        <translation>%1(%2)</translation>
    </message>
    <message>
        <source>command line</source>
        <translation>command line</translation>
    </message>
    <message>
        <source>Port %1 is not a port of 1–65534</source>
        <translation>Port %1 is not a port of 1–65534</translation>
    </message>
</context>
<context>
    <name>ConfigFile</name>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1: %2: %3</source>
        <translation>%1: %2: %3</translation>
    </message>
    <message>
        <source>unknown key: the 4G modem&apos;s only</source>
        <translation>unknown key: the 4G modem&apos;s only</translation>
    </message>
    <message>
        <source>unknown key</source>
        <translation>unknown key</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>expected true or false</source>
        <translation>expected true or false</translation>
    </message>
    <message>
        <source>expected one of %1</source>
        <translation>expected one of %1</translation>
    </message>
    <message>
        <source>expected a whole number</source>
        <translation>expected a whole number</translation>
    </message>
    <message>
        <source>%1 is outside %2–%3</source>
        <translation>%1 is outside %2–%3</translation>
    </message>
    <message>
        <source>%1 is not a whole number of minutes from 2 to 120</source>
        <translation>%1 is not a whole number of minutes from 2 to 120</translation>
    </message>
    <message>
        <source>%1 is not a whole number of seconds from 3 to 10 while retry_count is above 0</source>
        <translation>%1 is not a whole number of seconds from 3 to 10 while retry_count is above 0</translation>
    </message>
    <message>
        <source>%1 is outside 0–5000 while retry_count is 0</source>
        <translation>%1 is outside 0–5000 while retry_count is 0</translation>
    </message>
    <message>
        <source>larger than 1 MiB</source>
        <translation>larger than 1 MiB</translation>
    </message>
    <message>
        <source>not UTF-8 text</source>
        <translation>not UTF-8 text</translation>
    </message>
    <message>
        <source>not JSON: %1 at byte %2</source>
        <translation>not JSON: %1 at byte %2</translation>
    </message>
    <message>
        <source>not a JSON object</source>
        <translation>not a JSON object</translation>
    </message>
    <message>
        <source>given twice</source>
        <translation>given twice</translation>
    </message>
    <message>
        <source>not a format this program knows (it knows 1)</source>
        <translation>not a format this program knows (it knows 1)</translation>
    </message>
    <message>
        <source>expected ethernet or gsm</source>
        <translation>expected ethernet or gsm</translation>
    </message>
    <message>
        <source>the file is for an Ethernet modem, a 4G modem is selected</source>
        <translation>the file is for an Ethernet modem, a 4G modem is selected</translation>
    </message>
    <message>
        <source>the file is for a 4G modem, an Ethernet modem is selected</source>
        <translation>the file is for a 4G modem, an Ethernet modem is selected</translation>
    </message>
    <message>
        <source>expected an object</source>
        <translation>expected an object</translation>
    </message>
    <message>
        <source>the same port as rs485.tcp_port</source>
        <translation>the same port as rs485.tcp_port</translation>
    </message>
    <message>
        <source>expected text</source>
        <translation>expected text</translation>
    </message>
    <message>
        <source>holds a comma or a line break, which would split the modem&apos;s list</source>
        <translation>holds a comma or a line break, which would split the modem&apos;s list</translation>
    </message>
    <message>
        <source>holds a control character</source>
        <translation>holds a control character</translation>
    </message>
    <message>
        <source>not JSON: a control character at byte %1</source>
        <translation>not JSON: a control character at byte %1</translation>
    </message>
</context>
<context>
    <name>DevInfo</name>
    <message>
        <source>Device Infos</source>
        <translation>Device Infos</translation>
    </message>
    <message>
        <source>Serial Number :</source>
        <translation>Serial Number :</translation>
    </message>
    <message>
        <source>Mac/IMEI :</source>
        <translation>Mac/IMEI :</translation>
    </message>
    <message>
        <source>PRODUCT TYPE :</source>
        <translation>PRODUCT TYPE :</translation>
    </message>
    <message>
        <source>PRODUCT SUB TYPE :</source>
        <translation>PRODUCT SUB TYPE :</translation>
    </message>
    <message>
        <source>VERSION MAJOR APP :</source>
        <translation>VERSION MAJOR APP :</translation>
    </message>
    <message>
        <source>VERSION MINOR APP :</source>
        <translation>VERSION MINOR APP :</translation>
    </message>
    <message>
        <source>BOARD TYPE :</source>
        <translation>BOARD TYPE :</translation>
    </message>
    <message>
        <source>VERSION MAJOR BOARD :</source>
        <translation>VERSION MAJOR BOARD :</translation>
    </message>
    <message>
        <source>VERSION MINOR BOARD :</source>
        <translation>VERSION MINOR BOARD :</translation>
    </message>
    <message>
        <source>VERSION PARAMETER :</source>
        <translation>VERSION PARAMETER :</translation>
    </message>
</context>
<context>
    <name>DeviceChoose</name>
    <message>
        <source>Quorvane</source>
        <translation>Quorvane</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <source>Kullanmak istediğiniz cihazı seçiniz.</source>
        <translation>Choose the device you want to use.</translation>
    </message>
    <message>
        <source>-Seçiniz-</source>
        <translation>-Select-</translation>
    </message>
    <message>
        <source>Ethernet Modem</source>
        <translation>Ethernet Modem</translation>
    </message>
    <message>
        <source>4G Modem</source>
        <translation>4G Modem</translation>
    </message>
    <message>
        <source>Devam Et</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>İptal</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>KolvexConfigurator</name>
    <message>
        <source>Quorvane</source>
        <translation>Quorvane</translation>
    </message>
    <message>
        <source>Device Commands</source>
        <translation>Device Commands</translation>
    </message>
    <message>
        <source>Device Select</source>
        <translation>Device Select</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>RESTART DEVICE</source>
        <translation>RESTART DEVICE</translation>
    </message>
    <message>
        <source>GET INFO</source>
        <translation>GET INFO</translation>
    </message>
    <message>
        <source>PING</source>
        <translation>PING</translation>
    </message>
    <message>
        <source>Ethernet Modem</source>
        <translation>Ethernet Modem</translation>
    </message>
    <message>
        <source>GSM Modem</source>
        <translation>GSM Modem</translation>
    </message>
    <message>
        <source>Save Configuration As…</source>
        <translation>Save Configuration As…</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Load Configuration…</source>
        <translation>Load Configuration…</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Quorvane configuration (*.json)</source>
        <translation>Quorvane configuration (*.json)</translation>
    </message>
    <message>
        <source>Save Configuration As</source>
        <translation>Save Configuration As</translation>
    </message>
    <message>
        <source>Load Configuration</source>
        <translation>Load Configuration</translation>
    </message>
    <message>
        <source>%1: not saved: %2</source>
        <translation>%1: not saved: %2</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>Saved %1</translation>
    </message>
    <message>
        <source>%1: cannot be read: %2</source>
        <translation>%1: cannot be read: %2</translation>
    </message>
    <message>
        <source>Loaded %1: %2 of its values differ from the modem&apos;s</source>
        <translation>Loaded %1: %2 of its values differ from the modem&apos;s</translation>
    </message>
    <message>
        <source>ConnectionRefusedError</source>
        <translation>ConnectionRefusedError</translation>
    </message>
    <message>
        <source>RemoteHostClosedError</source>
        <translation>RemoteHostClosedError</translation>
    </message>
    <message>
        <source>HostNotFoundError</source>
        <translation>HostNotFoundError</translation>
    </message>
    <message>
        <source>SocketAccessError</source>
        <translation>SocketAccessError</translation>
    </message>
    <message>
        <source>SocketResourceError</source>
        <translation>SocketResourceError</translation>
    </message>
    <message>
        <source>SocketTimeoutError</source>
        <translation>SocketTimeoutError</translation>
    </message>
    <message>
        <source>DatagramTooLargeError</source>
        <translation>DatagramTooLargeError</translation>
    </message>
    <message>
        <source>NetworkError</source>
        <translation>NetworkError</translation>
    </message>
    <message>
        <source>AddressInUseError</source>
        <translation>AddressInUseError</translation>
    </message>
    <message>
        <source>SocketAddressNotAvailableError</source>
        <translation>SocketAddressNotAvailableError</translation>
    </message>
    <message>
        <source>UnsupportedSocketOperationError</source>
        <translation>UnsupportedSocketOperationError</translation>
    </message>
    <message>
        <source>UnfinishedSocketOperationError</source>
        <translation>UnfinishedSocketOperationError</translation>
    </message>
    <message>
        <source>ProxyAuthenticationRequiredError</source>
        <translation>ProxyAuthenticationRequiredError</translation>
    </message>
    <message>
        <source>SslHandshakeFailedError</source>
        <translation>SslHandshakeFailedError</translation>
    </message>
    <message>
        <source>ProxyConnectionRefusedError</source>
        <translation>ProxyConnectionRefusedError</translation>
    </message>
    <message>
        <source>ProxyConnectionClosedError</source>
        <translation>ProxyConnectionClosedError</translation>
    </message>
    <message>
        <source>ProxyConnectionTimeoutError</source>
        <translation>ProxyConnectionTimeoutError</translation>
    </message>
    <message>
        <source>ProxyNotFoundError</source>
        <translation>ProxyNotFoundError</translation>
    </message>
    <message>
        <source>ProxyProtocolError</source>
        <translation>ProxyProtocolError</translation>
    </message>
    <message>
        <source>OperationError</source>
        <translation>OperationError</translation>
    </message>
    <message>
        <source>SslInternalError</source>
        <translation>SslInternalError</translation>
    </message>
    <message>
        <source>SslInvalidUserDataError</source>
        <translation>SslInvalidUserDataError</translation>
    </message>
    <message>
        <source>TemporaryError</source>
        <translation>TemporaryError</translation>
    </message>
    <message>
        <source>UnknownSocketError</source>
        <translation>UnknownSocketError</translation>
    </message>
    <message>
        <source>NoError</source>
        <translation>NoError</translation>
    </message>
    <message>
        <source>DeviceNotFoundError</source>
        <translation>DeviceNotFoundError</translation>
    </message>
    <message>
        <source>PermissionError</source>
        <translation>PermissionError</translation>
    </message>
    <message>
        <source>OpenError</source>
        <translation>OpenError</translation>
    </message>
    <message>
        <source>ParityError</source>
        <translation>ParityError</translation>
    </message>
    <message>
        <source>FramingError</source>
        <translation>FramingError</translation>
    </message>
    <message>
        <source>BreakConditionError</source>
        <translation>BreakConditionError</translation>
    </message>
    <message>
        <source>WriteError</source>
        <translation>WriteError</translation>
    </message>
    <message>
        <source>ReadError</source>
        <translation>ReadError</translation>
    </message>
    <message>
        <source>ResourceError</source>
        <translation>ResourceError</translation>
    </message>
    <message>
        <source>UnsupportedOperationError</source>
        <translation>UnsupportedOperationError</translation>
    </message>
    <message>
        <source>UnknownError</source>
        <translation>UnknownError</translation>
    </message>
    <message>
        <source>TimeoutError</source>
        <translation>TimeoutError</translation>
    </message>
    <message>
        <source>NotOpenError</source>
        <translation>NotOpenError</translation>
    </message>
    <message>
        <source>SerialReceived Error : %1</source>
        <translation>SerialReceived Error : %1</translation>
    </message>
    <message>
        <source>TCPDataReceived Error :%1</source>
        <translation>TCPDataReceived Error :%1</translation>
    </message>
    <message>
        <source>TCP232DataReceived Error :%1</source>
        <translation>TCP232DataReceived Error :%1</translation>
    </message>
    <message>
        <source>TCP485DataReceived Error :%1</source>
        <translation>TCP485DataReceived Error :%1</translation>
    </message>
    <message>
        <source>Önce bağlantı sağlayın !! </source>
        <translation>Connect first!</translation>
    </message>
    <message>
        <source>Cannot write via TCP</source>
        <translation>Cannot write via TCP</translation>
    </message>
    <message>
        <source>Cannot write via USB</source>
        <translation>Cannot write via USB</translation>
    </message>
    <message>
        <source>Connected %1</source>
        <translation>Connected %1</translation>
    </message>
    <message>
        <source>Cannot connect over USB</source>
        <translation>Cannot connect over USB</translation>
    </message>
    <message>
        <source>Disconnected from USB</source>
        <translation>Disconnected from USB</translation>
    </message>
    <message>
        <source>Critical Error</source>
        <translation>Critical Error</translation>
    </message>
    <message>
        <source>Tcp Connected</source>
        <translation>Tcp Connected</translation>
    </message>
    <message>
        <source>Disconnected from TCP</source>
        <translation>Disconnected from TCP</translation>
    </message>
    <message>
        <source>Connection closed by server.</source>
        <translation>Connection closed by server.</translation>
    </message>
    <message>
        <source>Connected Succesfully</source>
        <translation>Connected Succesfully</translation>
    </message>
    <message>
        <source>Server can have connection Check server</source>
        <translation>Server can have connection Check server</translation>
    </message>
    <message>
        <source>Uyarı !</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Cihazdan veri alınamadı !</source>
        <translation>No data could be received from the device!</translation>
    </message>
    <message>
        <source>Tcp 232 Port Connected</source>
        <translation>Tcp 232 Port Connected</translation>
    </message>
    <message>
        <source>Disconnected from TCP 232 Port</source>
        <translation>Disconnected from TCP 232 Port</translation>
    </message>
    <message>
        <source>Tcp 232 Port Closed</source>
        <translation>Tcp 232 Port Closed</translation>
    </message>
    <message>
        <source>Tcp 485 Port Connected</source>
        <translation>Tcp 485 Port Connected</translation>
    </message>
    <message>
        <source>Disconnected from TCP 485 Port</source>
        <translation>Disconnected from TCP 485 Port</translation>
    </message>
    <message>
        <source>Tcp 485 Port Closed</source>
        <translation>Tcp 485 Port Closed</translation>
    </message>
    <message>
        <source>Bağlantı Sağlanamadı. IP ve Port Adresinizi Kontrol Edin.</source>
        <translation>Connection failed. Check your IP address and port.</translation>
    </message>
    <message>
        <source>View</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Traffic…</source>
        <translation>Traffic…</translation>
    </message>
</context>
<context>
    <name>ParameterTable</name>
    <message>
        <source>Configuration refused: no route</source>
        <translation>Configuration refused: no route</translation>
    </message>
    <message>
        <source>Configuration refused: more than one answer in one block</source>
        <translation>Configuration refused: more than one answer in one block</translation>
    </message>
    <message>
        <source>Configuration refused: this looks like an Ethernet modem (%1 values). Disconnect, then choose Ethernet Modem under Device Select.</source>
        <translation>Configuration refused: this looks like an Ethernet modem (%1 values). Disconnect, then choose Ethernet Modem under Device Select.</translation>
    </message>
    <message>
        <source>Configuration refused: this looks like a 4G modem (%1 values). Disconnect, then choose GSM Modem under Device Select.</source>
        <translation>Configuration refused: this looks like a 4G modem (%1 values). Disconnect, then choose GSM Modem under Device Select.</translation>
    </message>
    <message>
        <source>Configuration refused: %1 values, %2 expected</source>
        <translation>Configuration refused: %1 values, %2 expected</translation>
    </message>
    <message>
        <source>Configuration refused: %1 = %2 is outside %3–%4</source>
        <translation>Configuration refused: %1 = %2 is outside %3–%4</translation>
    </message>
</context>
<context>
    <name>StaticIpConfig</name>
    <message>
        <source>Static IP Configurations</source>
        <translation>Static IP Configurations</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>MAC Address</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP Address</translation>
    </message>
    <message>
        <source>0.0.0.0</source>
        <translation>0.0.0.0</translation>
    </message>
    <message>
        <source>Default Gateway</source>
        <translation>Default Gateway</translation>
    </message>
    <message>
        <source>Subnet Mask</source>
        <translation>Subnet Mask</translation>
    </message>
    <message>
        <source>DNS-1 Address</source>
        <translation>DNS-1 Address</translation>
    </message>
    <message>
        <source>DNS-2 Address</source>
        <translation>DNS-2 Address</translation>
    </message>
    <message>
        <source>DHCP</source>
        <translation>DHCP</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Uyarı !</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Geçersiz adres: %1.
Her adres, noktalarla ayrılmış ve her biri 0 ile 255 arasında olan dört sayıdan oluşmalı (örnek: 192.168.1.50). Ayarlar modeme gönderilmedi.</source>
        <translation>Invalid address: %1.
Every address must be four numbers from 0 to 255 separated by dots (for example 192.168.1.50). Nothing was sent to the modem.</translation>
    </message>
    <message>
        <source>
DHCP işaretliyken bu alanlar düzenlenemez: düzeltmek için önce DHCP işaretini kaldırın.</source>
        <translation>
While DHCP is checked these fields cannot be edited: uncheck DHCP first to correct them.</translation>
    </message>
</context>
<context>
    <name>TrafficLog</name>
    <message>
        <source>Sent</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>Received</source>
        <translation>Received</translation>
    </message>
    <message>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>TCP</source>
        <translation>TCP</translation>
    </message>
    <message>
        <source>RS485 tunnel</source>
        <translation>RS485 tunnel</translation>
    </message>
    <message>
        <source>RS232 tunnel</source>
        <translation>RS232 tunnel</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Route</source>
        <translation>Route</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>Bytes</translation>
    </message>
</context>
<context>
    <name>TrafficWindow</name>
    <message>
        <source>Traffic</source>
        <translation>Traffic</translation>
    </message>
    <message>
        <source>Received</source>
        <translation>Received</translation>
    </message>
    <message>
        <source>RS485 tunnel</source>
        <translation>RS485 tunnel</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Save…</source>
        <translation>Save…</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>%1 rows, %2 bytes</source>
        <translation>%1 rows, %2 bytes</translation>
    </message>
    <message>
        <source>Save Traffic As</source>
        <translation>Save Traffic As</translation>
    </message>
    <message>
        <source>Text files (*.txt)</source>
        <translation>Text files (*.txt)</translation>
    </message>
    <message>
        <source>%1: not saved: %2</source>
        <translation>%1: not saved: %2</translation>
    </message>
</context>
<context>
    <name>TransparentConfig</name>
    <message>
        <source>Transparent Config</source>
        <translation>Transparent Config</translation>
    </message>
    <message>
        <source>RS485 CONFIG</source>
        <translation>RS485 CONFIG</translation>
    </message>
    <message>
        <source>RS232 CONFIG</source>
        <translation>RS232 CONFIG</translation>
    </message>
    <message>
        <source>ENABLE</source>
        <translation>ENABLE</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>Disable</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>PORT</source>
        <translation>PORT</translation>
    </message>
    <message>
        <source>CONNECT TIMEOUT</source>
        <translation>CONNECT TIMEOUT</translation>
    </message>
    <message>
        <source>     min</source>
        <translation>     min</translation>
    </message>
    <message>
        <source>MODBUS TIMEOUT</source>
        <translation>MODBUS TIMEOUT</translation>
    </message>
    <message>
        <source>     ms</source>
        <translation>     ms</translation>
    </message>
    <message>
        <source>MOD</source>
        <translation>MOD</translation>
    </message>
    <message>
        <source>TCP to RTU</source>
        <translation>TCP to RTU</translation>
    </message>
    <message>
        <source>TCP to ASCII</source>
        <translation>TCP to ASCII</translation>
    </message>
    <message>
        <source>RTU over TCP</source>
        <translation>RTU over TCP</translation>
    </message>
    <message>
        <source>ASCII over TCP</source>
        <translation>ASCII over TCP</translation>
    </message>
    <message>
        <source>Full Transparent</source>
        <translation>Full Transparent</translation>
    </message>
    <message>
        <source>DATA BIT</source>
        <translation>DATA BIT</translation>
    </message>
    <message>
        <source>7 Bit</source>
        <translation>7 Bit</translation>
    </message>
    <message>
        <source>8 Bit</source>
        <translation>8 Bit</translation>
    </message>
    <message>
        <source>PARITY BIT</source>
        <translation>PARITY BIT</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>Odd</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>Even</translation>
    </message>
    <message>
        <source>STOP BIT</source>
        <translation>STOP BIT</translation>
    </message>
    <message>
        <source>1    Stop</source>
        <translation>1    Stop</translation>
    </message>
    <message>
        <source>2    Stop</source>
        <translation>2    Stop</translation>
    </message>
    <message>
        <source>BAUDRATE</source>
        <translation>BAUDRATE</translation>
    </message>
    <message>
        <source>300</source>
        <translation>300</translation>
    </message>
    <message>
        <source>600</source>
        <translation>600</translation>
    </message>
    <message>
        <source>1200</source>
        <translation>1200</translation>
    </message>
    <message>
        <source>2400</source>
        <translation>2400</translation>
    </message>
    <message>
        <source>4800</source>
        <translation>4800</translation>
    </message>
    <message>
        <source>9600</source>
        <translation>9600</translation>
    </message>
    <message>
        <source>19200</source>
        <translation>19200</translation>
    </message>
    <message>
        <source>38400</source>
        <translation>38400</translation>
    </message>
    <message>
        <source>57600</source>
        <translation>57600</translation>
    </message>
    <message>
        <source>115200</source>
        <translation>115200</translation>
    </message>
    <message>
        <source>SILENT INTERVAL</source>
        <translation>SILENT INTERVAL</translation>
    </message>
    <message>
        <source>     Char</source>
        <translation>     Char</translation>
    </message>
    <message>
        <source>RETRY COUNT</source>
        <translation>RETRY COUNT</translation>
    </message>
    <message>
        <source>CMD INTERVAL TIME</source>
        <translation>CMD INTERVAL TIME</translation>
    </message>
    <message>
        <source>PING INTERVAL TIME</source>
        <translation>PING INTERVAL TIME</translation>
    </message>
    <message>
        <source>       dk</source>
        <translation>       min</translation>
    </message>
    <message>
        <source>GENERAL CONFIG</source>
        <translation>GENERAL CONFIG</translation>
    </message>
    <message>
        <source>APN</source>
        <translation>APN</translation>
    </message>
    <message>
        <source>INFO RESPONSE</source>
        <translation>INFO RESPONSE</translation>
    </message>
    <message>
        <source>Static IP Settings</source>
        <translation>Static IP Settings</translation>
    </message>
    <message>
        <source>Read Configuration</source>
        <translation>Read Configuration</translation>
    </message>
    <message>
        <source>Apply Configuration</source>
        <translation>Apply Configuration</translation>
    </message>
    <message>
        <source>Uyarı !</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>APN Değiştirildi Değişiklikleri modeme yazarsanız modem yeniden başlatılacak !</source>
        <translation>APN changed. If you write the changes to the modem, the modem will restart!</translation>
    </message>
    <message>
        <source>Portunuz açık ise kapatılacak !</source>
        <translation>If your port is open, it will be closed!</translation>
    </message>
    <message>
        <source>    ms</source>
        <translation>    ms</translation>
    </message>
    <message>
        <source>     char</source>
        <translation>     char</translation>
    </message>
    <message>
        <source>   s</source>
        <translation>   s</translation>
    </message>
    <message>
        <source>Device Restarted!</source>
        <translation>Device Restarted!</translation>
    </message>
    <message>
        <source>Ping -&gt; OK</source>
        <translation>Ping -&gt; OK</translation>
    </message>
    <message>
        <source>232 Closed</source>
        <translation>232 Closed</translation>
    </message>
    <message>
        <source>485 Closed</source>
        <translation>485 Closed</translation>
    </message>
    <message>
        <source>Successfully written</source>
        <translation>Successfully written</translation>
    </message>
    <message>
        <source>Receive_Callback Error : %1</source>
        <translation>Receive_Callback Error : %1</translation>
    </message>
    <message>
        <source>Network settings ignored: the Static IP window is closed</source>
        <translation>Network settings ignored: the Static IP window is closed</translation>
    </message>
    <message>
        <source>Network settings ignored: %1 values instead of %2</source>
        <translation>Network settings ignored: %1 values instead of %2</translation>
    </message>
    <message>
        <source>Device information ignored: %1 values instead of %2</source>
        <translation>Device information ignored: %1 values instead of %2</translation>
    </message>
    <message>
        <source>Device information not shown: %1 windows already open</source>
        <translation>Device information not shown: %1 windows already open</translation>
    </message>
    <message>
        <source>RS485 Config Warning</source>
        <translation>RS485 Config Warning</translation>
    </message>
    <message>
        <source>RS232 Config Warning</source>
        <translation>RS232 Config Warning</translation>
    </message>
    <message>
        <source>Read the configuration first: nothing has been read from this modem.</source>
        <translation>Read the configuration first: nothing has been read from this modem.</translation>
    </message>
    <message>
        <source>APN virgül (,) ya da satır sonu içeremez: modem bunları alan ayırıcı olarak okur ve yapılandırması bozulur. Yapılandırma yazılmadı.</source>
        <translation>The APN cannot contain a comma (,) or a line break: the modem reads them as field separators and its configuration would be corrupted. The configuration was not written.</translation>
    </message>
    <message>
        <source>7bit Parity None olarak devam etmek istiyor musunuz ?</source>
        <translation>Do you want to continue with 7 bit and parity None?</translation>
    </message>
    <message>
        <source>Dikkat !</source>
        <translation>Attention</translation>
    </message>
    <message>
        <source>Parametrelerinizde değişiklik var. Devam etmek istiyor musunuz ?</source>
        <translation>Your parameters have changed. Do you want to continue?</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>List the serial device at &lt;path&gt; among the COM ports.</source>
        <translation>List the serial device at &lt;path&gt; among the COM ports.</translation>
    </message>
</context>
</TS>
