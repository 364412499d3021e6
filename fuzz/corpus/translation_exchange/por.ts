<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="Por" sourcelanguage="Esp">
    <context>
        <name>TFRMClavira/Autenticar</name>
        <message>
            <source>Autenticar</source>
            <comment>QPushButton text</comment>
            <translation type="unfinished">Autenticar</translation>
        </message>
    </context>
    <context>
        <name>TFRMClavira/Button1</name>
        <message>
            <source>Autenticar DB</source>
            <comment>QPushButton text</comment>
            <translation>Autenticar BD</translation>
        </message>
    </context>
    <context>
        <name>TFRMClavira/Button2</name>
        <message>
            <source>Button2</source>
            <comment>QPushButton text</comment>
            <translation type="unfinished">Button2</translation>
        </message>
    </context>
    <context>
        <name>TFRMClavira/CheckBoxSSL</name>
        <message>
            <source>SSL</source>
            <comment>QCheckBox text</comment>
            <translation type="unfinished">SSL</translation>
        </message>
    </context>
    <context>
        <name>TFRMClavira/FRMClavira</name>
        <message>
            <source>FRMClavira</source>
            <comment>TFRMClavira windowTitle</comment>
            <translation type="unfinished">FRMClavira</translation>
        </message>
    </context>
    <context>
        <name>TFRMClavira/Label1</name>
        <message>
            <source>Nombre</source>
            <comment>QLabel text</comment>
            <translation>Nome</translation>
        </message>
    </context>
    <context>
        <name>TFRMClavira/Label2</name>
        <message>
            <source>Dominio</source>
            <comment>QLabel text</comment>
            <translation>Domínio</translation>
        </message>
    </context>
    <context>
        <name>TFRMClavira/Label3</name>
        <message>
            <source>Clave</source>
            <comment>QLabel text</comment>
            <translation>Senha</translation>
        </message>
    </context>
    <context>
        <name>TFRMClavira/Label4</name>
        <message>
            <source>Seguridad</source>
            <comment>QLabel text</comment>
            <translation>Segurança</translation>
        </message>
    </context>
</TS>
