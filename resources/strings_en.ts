<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Titles</name>
    <message>
        <source>First</source>
        <translation>First</translation>
    </message>
    <message>
        <source>Second</source>
        <translation>Second</translation>
    </message>
    <message>
        <source>Third</source>
        <translation>Third</translation>
    </message>
    <message>
        <source>Forth</source>
        <translation>Fourth</translation>
    </message>
    <message>
        <source>Fifth</source>
        <translation>Fifth</translation>
    </message>
</context>
</TS>
