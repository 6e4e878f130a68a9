<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>kiosa::AboutKiosaDialog</name>
    <message>
        <source>关于 Kiosa</source>
        <translation>About Kiosa</translation>
    </message>
    <message>
        <source>Kiosa 1.0 版</source>
        <translation>Kiosa version 1.0</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>kiosa::LauncherWindow</name>
    <message>
        <source>Velmar钢筋位置及锈蚀测定仪V1.10</source>
        <translation>Velmar Rebar Locator and Corrosion Meter V1.10</translation>
    </message>
    <message>
        <source>关于 Kiosa(&amp;A)...</source>
        <translation>&amp;About Kiosa...</translation>
    </message>
    <message>
        <source>混凝土电阻率测试仪数据分析软件</source>
        <translation>Ohmlet Concrete Resistivity Analysis</translation>
    </message>
    <message>
        <source>无法启动程序 %1。</source>
        <translation>%1 could not be started.</translation>
    </message>
    <message>
        <source>这个程序没有安装：找不到 %1。</source>
        <translation>This program is not installed: %1 was not found.</translation>
    </message>
</context>
</TS>
