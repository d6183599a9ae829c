<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs_CZ">
<context>
    <name>EditStep</name>
    <message>
        <source>Add node</source>
        <translation>Přidat uzel</translation>
    </message>
    <message>
        <source>Remove node</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
