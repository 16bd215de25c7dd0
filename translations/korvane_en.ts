<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>FeedCheck</name>
    <message>
        <source>新集检查</source>
        <translation>New episode check</translation>
    </message>
    <message>
        <source>新集检查 — %1 部有新集</source>
        <translation>New episode check — new episodes in %1 series</translation>
    </message>
    <message>
        <source>已检查 %1 / %2</source>
        <translation>Checked %1 of %2</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>复制链接</source>
        <translation>Copy link</translation>
    </message>
    <message>
        <source>已看完 → 集数+1</source>
        <translation>Watched → episode +1</translation>
    </message>
    <message>
        <source>标题</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>新</source>
        <translation>New</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>发布时间</source>
        <translation>Published</translation>
    </message>
    <message>
        <source>做种</source>
        <translation>Seeders</translation>
    </message>
    <message>
        <source>站点</source>
        <translation>Sites</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>未找到第 %1 集</source>
        <translation>Episode %1 not found</translation>
    </message>
    <message>
        <source>集数不是数字，未检查</source>
        <translation>Episode is not a number; not checked</translation>
    </message>
    <message>
        <source>没有站点填写了RSS连接，请在“BT平台设置”中填写。</source>
        <translation>No site has an RSS address. Add one in “BT site settings”.</translation>
    </message>
    <message>
        <source>已看完，集数改为 %1</source>
        <translation>Watched; episode set to %1</translation>
    </message>
    <message>
        <source>标题中没有该条目的搜索名或原作名，可能是别的作品</source>
        <translation>The title contains neither the entry’s search name nor its original title; it may be a different work</translation>
    </message>
    <message>
        <source>囧</source>
        <translation>Oops</translation>
    </message>
    <message>
        <source>无法打开链接：
%1

原因：%2</source>
        <translation>Cannot open the link:
%1

Reason: %2</translation>
    </message>
    <message>
        <source>无法打开链接：
%1

请确认系统已设置默认浏览器。</source>
        <translation>Cannot open the link:
%1

Make sure a default web browser is set.</translation>
    </message>
    <message>
        <source>集数未能更新，原有内容保持不变。
原因：%1</source>
        <translation>The episode was not updated; the entry is unchanged.
Reason: %1</translation>
    </message>
    <message>
        <source>集数未能更新：检查时集数是 %1，此后已改为 %2。
为免跳过一集，未作改动；请重新检查。</source>
        <translation>The episode was not updated: it was %1 at the check and has since been changed to %2.
To avoid skipping an episode, nothing was changed; please check again.</translation>
    </message>
    <message>
        <source>集数未能更新：该条目已被删除，或其搜索名、字幕组已修改。</source>
        <translation>The episode was not updated: the entry has been deleted, or its search name or group has been changed.</translation>
    </message>
    <message>
        <source>无法检查新集。
原因：%1</source>
        <translation>Cannot check for new episodes.
Reason: %1</translation>
    </message>
    <message>
        <source>已停止</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>另有 %1 个发布未列出（每部只列出最新的 %2 个）</source>
        <translation>Releases not listed: %1 (only the newest %2 of each series are shown)</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>搜索动画资源</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>检查新集</source>
        <translation>Check for new episodes</translation>
    </message>
    <message>
        <source>字幕组</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>集数</source>
        <translation>Episode</translation>
    </message>
    <message>
        <source>采用UTF-8的URL编码算法</source>
        <translation>UTF-8 URL encoding</translation>
    </message>
    <message>
        <source>BT平台设置</source>
        <translation>BT site settings</translation>
    </message>
    <message>
        <source>定时检查</source>
        <translation>Check automatically</translation>
    </message>
    <message>
        <source>每 </source>
        <translation>Every </translation>
    </message>
    <message>
        <source> 分钟</source>
        <translation> min</translation>
    </message>
    <message>
        <source>定时检查的间隔（分钟）</source>
        <translation>Interval between automatic checks (minutes)</translation>
    </message>
    <message>
        <source>保存修改</source>
        <translation>Save changes</translation>
    </message>
    <message>
        <source>加入条目</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>新增</source>
        <translation>New</translation>
    </message>
    <message>
        <source>集数+1</source>
        <translation>Episode +1</translation>
    </message>
    <message>
        <source>集数-1</source>
        <translation>Episode -1</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>搜索名</source>
        <translation>Search name</translation>
    </message>
    <message>
        <source>原作名</source>
        <translation>Original title</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>动画列表</source>
        <translation>Anime list</translation>
    </message>
    <message>
        <source>集数*</source>
        <translation>Episode*</translation>
    </message>
    <message>
        <source>搜索名*</source>
        <translation>Search name*</translation>
    </message>
    <message>
        <source>动画原名**</source>
        <translation>Original title**</translation>
    </message>
    <message>
        <source>囧</source>
        <translation>Oops</translation>
    </message>
    <message>
        <source>对不起，您所输入的动画特征信息与现有数据重复或不完整，请别折腾本程序了ORZ</source>
        <translation>Sorry, the anime you entered duplicates an existing entry or is incomplete. Please stop tormenting this poor program ORZ</translation>
    </message>
    <message>
        <source>对不起，此版本暂时不支持序号、搜索名以及动画原名的修改，如果需要调整这些项目，请删除本条后再试。</source>
        <translation>Sorry, this version cannot change the number, search name or original title yet. To change them, delete this entry and try again.</translation>
    </message>
    <message>
        <source>确定要删除本条内容吗？</source>
        <translation>Delete this entry?</translation>
    </message>
    <message>
        <source>无法使用数据文件 %1：
%2

该文件未作任何改动。</source>
        <translation>Cannot use the data file %1:
%2

The file has not been changed.</translation>
    </message>
    <message>
        <source>数据文件正被另一个程序使用，正在等待……</source>
        <translation>The data file is in use by another program. Waiting…</translation>
    </message>
    <message>
        <source>无法建立数据文件 %1：
%2</source>
        <translation>Cannot create the data file %1:
%2</translation>
    </message>
    <message>
        <source>

上次正常打开时的备份保存在：%1</source>
        <translation>

A backup from the last time it opened normally is saved at: %1</translation>
    </message>
    <message>
        <source>本条修改未能保存，原有内容保持不变。
原因：%1</source>
        <translation>The changes were not saved; the entry is unchanged.
Reason: %1</translation>
    </message>
    <message>
        <source>新条目未能加入，输入的内容仍保留在编辑框中。
原因：%1</source>
        <translation>The new entry was not added; what you typed is still in the fields.
Reason: %1</translation>
    </message>
    <message>
        <source>本条内容未能删除。
原因：%1</source>
        <translation>The entry was not deleted.
Reason: %1</translation>
    </message>
    <message>
        <source>设置未能保存。
原因：%1</source>
        <translation>The settings were not saved.
Reason: %1</translation>
    </message>
    <message>
        <source>本条内容在载入后已在别处修改（如“已看完 → 集数+1”），保存会覆盖这些修改，因此未保存。
编辑框中的内容仍保留；请重新点击该条目，再改一次。</source>
        <translation>This entry was changed elsewhere after it was loaded (for example by “Watched → episode +1”). Saving would overwrite that change, so nothing was saved.
What you typed is still in the fields; click the entry again and make your changes once more.</translation>
    </message>
    <message>
        <source>当前站点的搜索地址无法使用：
%1

%2，请在“BT平台设置”中修改后重新选择该站点。</source>
        <translation>The current site’s search address cannot be used:
%1

%2. Correct it in “BT site settings”, then select the site again.</translation>
    </message>
    <message>
        <source>搜索地址必须以 http:// 或 https:// 开头</source>
        <translation>The search address must start with http:// or https://</translation>
    </message>
    <message>
        <source>搜索地址中不能有空格、换行或其他控制字符</source>
        <translation>The search address must not contain spaces, line breaks or other control characters</translation>
    </message>
    <message>
        <source>搜索地址中缺少网站的域名</source>
        <translation>The search address has no domain name</translation>
    </message>
    <message>
        <source>（空）</source>
        <translation>(empty)</translation>
    </message>
    <message>
        <source>请先选择一个搜索站点。</source>
        <translation>Select a search site first.</translation>
    </message>
    <message>
        <source>搜索地址过长，无法打开：
%1

其余的页面照常打开。</source>
        <translation>The search address is too long to open:
%1

The other pages are opened as usual.</translation>
    </message>
    <message>
        <source>将打开 %1 个页面，继续吗？</source>
        <translation>This will open %1 pages. Continue?</translation>
    </message>
    <message>
        <source>无法打开搜索页面：
%1

请确认系统已设置默认浏览器。</source>
        <translation>Cannot open the search page:
%1

Make sure a default web browser is set.</translation>
    </message>
    <message>
        <source>Korvane 开发组 出品 · 欢迎来论坛交流</source>
        <translation>By the Korvane team · Visit our forum</translation>
    </message>
</context>
<context>
    <name>Form2</name>
    <message>
        <source>BT平台设置</source>
        <translation>BT site settings</translation>
    </message>
    <message>
        <source>新增</source>
        <translation>New</translation>
    </message>
    <message>
        <source>加入</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>设为默认</source>
        <translation>Set default</translation>
    </message>
    <message>
        <source>默认</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>内置站点</source>
        <translation>Built-in sites</translation>
    </message>
    <message>
        <source>自定义站点</source>
        <translation>Custom sites</translation>
    </message>
    <message>
        <source>连接(BT平台搜索页连接,以&quot;=&quot;结束,以&quot;http&quot;开头)：</source>
        <translation>Address (BT site search page, ends with &quot;=&quot;, starts with &quot;http&quot;):</translation>
    </message>
    <message>
        <source>显示顺序：</source>
        <translation>Order:</translation>
    </message>
    <message>
        <source>站点名称：</source>
        <translation>Site name:</translation>
    </message>
    <message>
        <source>UTF-8的URL编码</source>
        <translation>UTF-8 URL encoding</translation>
    </message>
    <message>
        <source>RSS连接(以&quot;=&quot;结束,可留空)：</source>
        <translation>RSS address (ends with &quot;=&quot;, optional):</translation>
    </message>
    <message>
        <source>囧</source>
        <translation>Oops</translation>
    </message>
    <message>
        <source>站点名称重复，如果想更新的话请点击修改，或者删除相应条目再添加。</source>
        <translation>A site with this name already exists. To change it, click “Update”, or delete it and add it again.</translation>
    </message>
    <message>
        <source>对不起，这个版本无法正常修改服务器名称，请耐心等待...</source>
        <translation>Sorry, this version cannot rename servers properly yet. Please be patient...</translation>
    </message>
    <message>
        <source>确实要删除本条内容吗？</source>
        <translation>Delete this site?</translation>
    </message>
    <message>
        <source>删除条目</source>
        <translation>Delete site</translation>
    </message>
    <message>
        <source>站点未能加入，输入的内容仍保留在编辑框中。
原因：%1</source>
        <translation>The site was not added; what you typed is still in the fields.
Reason: %1</translation>
    </message>
    <message>
        <source>站点未能修改，原有内容保持不变。
原因：%1</source>
        <translation>The site was not updated; it is unchanged.
Reason: %1</translation>
    </message>
    <message>
        <source>站点未能删除。
原因：%1</source>
        <translation>The site was not deleted.
Reason: %1</translation>
    </message>
    <message>
        <source>未能设为默认，内置站点与默认站点均保持不变。
原因：%1</source>
        <translation>Could not set as default; the built-in and default sites are unchanged.
Reason: %1</translation>
    </message>
    <message>
        <source>未能恢复默认站点，内置站点保持不变。
原因：%1</source>
        <translation>Could not restore the default sites; the built-in sites are unchanged.
Reason: %1</translation>
    </message>
    <message>
        <source>内置站点中没有名为“%1”的站点，未作任何修改。</source>
        <translation>There is no built-in site named “%1”; nothing was changed.</translation>
    </message>
    <message>
        <source>内置站点或默认站点中没有名为“%1”的站点，未作任何修改。</source>
        <translation>There is no built-in or default site named “%1”; nothing was changed.</translation>
    </message>
    <message>
        <source>界面语言：</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>跟随系统</source>
        <translation>System default</translation>
    </message>
    <message>
        <source>界面语言将在下次启动 Korvane 时生效。</source>
        <translation>The language takes effect the next time Korvane starts.</translation>
    </message>
    <message>
        <source>设置未能保存。
原因：%1</source>
        <translation>The settings were not saved.
Reason: %1</translation>
    </message>
    <message>
        <source>默认站点为空，内置站点保持不变。</source>
        <translation>There are no default sites; the built-in sites are unchanged.</translation>
    </message>
</context>
<context>
    <name>JetOffer</name>
    <message>
        <source>数据文件 %1 是旧版程序的数据库（Jet 格式），本程序不能直接使用。

要把它转换为本程序的格式吗？原文件将改名为 %2 保留，内容不作任何改动。</source>
        <translation>The data file %1 is a database of the older program (Jet format), which this program cannot use directly.

Convert it to this program’s format? The original file will be kept as %2, its contents unchanged.</translation>
    </message>
    <message>
        <source>数据文件未能转换，原文件保持不变。
原因：%1</source>
        <translation>The data file was not converted; the original file is unchanged.
Reason: %1</translation>
    </message>
    <message>
        <source>正在读取旧版数据文件……</source>
        <translation>Reading the old data file…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Notice</name>
    <message>
        <source>查看</source>
        <translation>View</translation>
    </message>
</context>
<context>
    <name>Reason</name>
    <message>
        <source>找不到相应的记录</source>
        <translation>No matching record was found</translation>
    </message>
    <message>
        <source>与现有内容重复</source>
        <translation>It duplicates existing content</translation>
    </message>
    <message>
        <source>内容不完整</source>
        <translation>The content is incomplete</translation>
    </message>
    <message>
        <source>文件正被另一个程序使用</source>
        <translation>The file is in use by another program</translation>
    </message>
    <message>
        <source>文件只读</source>
        <translation>The file is read-only</translation>
    </message>
    <message>
        <source>文件夹无法写入</source>
        <translation>The folder cannot be written to</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>The disk is full</translation>
    </message>
    <message>
        <source>文件已损坏</source>
        <translation>The file is damaged</translation>
    </message>
    <message>
        <source>不是数据库文件</source>
        <translation>Not a database file</translation>
    </message>
    <message>
        <source>文件中缺少所需的数据表</source>
        <translation>The file lacks the tables it needs</translation>
    </message>
    <message>
        <source>找不到文件</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>是一个文件夹，不是文件</source>
        <translation>It is a folder, not a file</translation>
    </message>
    <message>
        <source>超时</source>
        <translation>Timed out</translation>
    </message>
    <message>
        <source>无法连接</source>
        <translation>Cannot connect</translation>
    </message>
    <message>
        <source>服务器返回 %1</source>
        <translation>The server returned %1</translation>
    </message>
    <message>
        <source>不是RSS</source>
        <translation>Not an RSS feed</translation>
    </message>
    <message>
        <source>数据已损坏</source>
        <translation>The data is corrupt</translation>
    </message>
    <message>
        <source>回答不完整</source>
        <translation>Incomplete response</translation>
    </message>
    <message>
        <source>站点无响应，已跳过</source>
        <translation>The site did not respond; skipped</translation>
    </message>
    <message>
        <source>站点最近出错，稍后再试</source>
        <translation>The site failed recently; will retry later</translation>
    </message>
    <message>
        <source>内容在读取后已被修改</source>
        <translation>It was changed after it was read</translation>
    </message>
    <message>
        <source>地址不可用</source>
        <translation>The address cannot be used</translation>
    </message>
    <message>
        <source>未能完成操作</source>
        <translation>The operation could not be completed</translation>
    </message>
</context>
<context>
    <name>Tray</name>
    <message>
        <source>显示主窗口</source>
        <translation>Show main window</translation>
    </message>
    <message>
        <source>立即检查</source>
        <translation>Check now</translation>
    </message>
    <message>
        <source>暂停定时检查</source>
        <translation>Pause automatic checks</translation>
    </message>
    <message>
        <source>继续定时检查</source>
        <translation>Resume automatic checks</translation>
    </message>
    <message>
        <source>开机时启动</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Korvane
%1
%2 部有新集</source>
        <translation>Korvane
%1
New episodes in %2 series</translation>
    </message>
    <message>
        <source>上次检查：%1</source>
        <translation>Last check: %1</translation>
    </message>
    <message>
        <source>尚未检查</source>
        <translation>Not checked yet</translation>
    </message>
    <message>
        <source>%1 部有新集</source>
        <translation>New episodes in %1 series</translation>
    </message>
    <message>
        <source>%1 第 %2 集</source>
        <translation>%1, episode %2</translation>
    </message>
    <message>
        <source>%1 第 %2 集 (%3)</source>
        <translation>%1, episode %2 (%3)</translation>
    </message>
    <message>
        <source>等 %1 部</source>
        <translation>…and more (%1 series in all)</translation>
    </message>
    <message>
        <source>Korvane 仍在运行</source>
        <translation>Korvane is still running</translation>
    </message>
    <message>
        <source>主窗口已隐藏到系统托盘，定时检查照常进行。点击托盘图标可重新打开主窗口，在托盘菜单中选择“退出”可结束程序。</source>
        <translation>The main window is hidden in the system tray; automatic checks go on. Click the tray icon to open it again, or choose “Quit” in the tray menu to exit.</translation>
    </message>
    <message>
        <source>未能设置开机时启动。
原因：%1</source>
        <translation>Could not set Korvane to start at login.
Reason: %1</translation>
    </message>
</context>
</TS>
