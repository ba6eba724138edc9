-- heading comment; not a statement
create table T (A varchar(10));
insert into T values ('a;b');  /* trailing; comment */
SET TERM ^ ;
create trigger X for T after insert as begin
  insert into U values (1);
end^
set term ; ^
commit;
select 1 from rdb$database