<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>DlgOption</name>
    <message>
        <source>Dialog</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sample Points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Infinite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sample Interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record data only at test time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TemplateWindow</name>
    <message>
        <source>TemplateWindow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date/Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RES1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RES2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RES-COMP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Result</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>V-Set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>V-Out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DAR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time-Set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time-Set1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time-Set2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CAP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VOLT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ACDC</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
